package probe;

// How deep main's thread can recurse: a measure of the stack the thread really has.
public class StackProbe {
    private static int depth;

    private static void descend() {
        depth++;
        descend();
    }

    public static void main(String[] args) {
        try {
            descend();
        } catch (StackOverflowError e) {
            System.out.println("depth " + depth);
        }
    }
}
