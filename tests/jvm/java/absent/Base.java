package absent;

// Compiled into a jar of its own that the tests leave off the class path.
public class Base {
}
