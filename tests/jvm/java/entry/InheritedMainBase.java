package entry;

// Declares the instance main InstanceWithoutArguments inherits.
public class InheritedMainBase {
    protected void main() {
        System.out.println("entry instance-without-arguments on " + getClass().getName());
    }
}
