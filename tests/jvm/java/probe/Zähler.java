package probe;

// secondaryMain of the int form in a class whose name is outside any ANSI code page's ASCII
// part: it returns the count of its arguments times ten plus the length of the first, and
// throws when its first argument is "throw".
public class Zähler {
    public static void main(String[] args) {
        System.out.println("main-entered");
    }

    public static int secondaryMain(String[] args) {
        System.out.println("secondary-int " + String.join("|", args));
        if (args[0].equals("throw")) throw new IllegalStateException("thrown by secondaryMain");
        return args.length * 10 + args[0].length();
    }
}
