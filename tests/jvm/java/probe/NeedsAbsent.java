package probe;

// Found on the class path, but its superclass lies in a jar that is not.
public class NeedsAbsent extends absent.Base {
    public static void main(String[] args) {
        System.out.println("wrong main called");
    }
}
