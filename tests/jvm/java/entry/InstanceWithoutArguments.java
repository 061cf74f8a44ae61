package entry;

// Only an instance main without parameters, inherited: from 25 on the object is of this class.
public class InstanceWithoutArguments extends InheritedMainBase {
}
