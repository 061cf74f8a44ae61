package probe;

// Lets an exception escape main; its message holds non-ASCII text and a surrogate pair so that
// the stack trace shown to the user can be checked character for character.
public class Thrower {
    public static void main(String[] args) {
        System.out.println("main-entered");
        fail();
    }

    private static void fail() {
        throw new IllegalStateException("escaped from main: gr\u00fc\u00dfe \ud83d\ude00");
    }
}
