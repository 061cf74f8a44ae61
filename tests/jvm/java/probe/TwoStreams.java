package probe;

// Writes one line to each standard stream, so that the test sees where each one went.
public class TwoStreams {
    public static void main(String[] args) {
        System.out.println("to-out");
        System.err.println("to-err");
        System.out.println("main-done");
    }
}
