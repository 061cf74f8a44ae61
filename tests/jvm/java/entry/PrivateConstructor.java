package entry;

// An instance main with no constructor to make the object with: no runtime starts it.
public class PrivateConstructor {
    private PrivateConstructor() {
        System.out.println("constructor called");
    }

    void main() {
        System.out.println("entry instance-without-arguments");
    }
}
