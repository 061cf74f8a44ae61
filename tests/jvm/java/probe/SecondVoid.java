package probe;

// secondaryMain of the void form; it throws when its first argument is "throw".
public class SecondVoid {
    public static void main(String[] args) {
        System.out.println("main-entered");
    }

    public static void secondaryMain(String[] args) {
        System.out.println("secondary-void " + String.join("|", args) + " on " + Thread.currentThread().getName());
        if (args[0].equals("throw")) throw new IllegalStateException("thrown by secondaryMain");
    }
}
