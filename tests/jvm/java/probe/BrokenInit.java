package probe;

// A class whose static initialiser throws: loading it with initialisation fails.
public class BrokenInit {
    private static final int VALUE = fail();

    private static int fail() {
        throw new IllegalStateException("static init failed");
    }

    public static void main(String[] args) {
        System.out.println("wrong main called " + VALUE);
    }
}
