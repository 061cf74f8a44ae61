package probe;

// Ends the program itself with its own exit code.
public class ExitSeven {
    public static void main(String[] args) {
        System.out.println("main-entered");
        System.exit(7);
    }
}
