package entry;

// No main at all.
public class WithoutMain {
    public static void start(String[] args) {
        System.out.println("wrong method called");
    }
}
