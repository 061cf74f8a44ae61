package probe;

// A class that can be loaded but has no main(String[]).
public class NoMain {
    public static void main() {
        System.out.println("wrong main called");
    }
}
