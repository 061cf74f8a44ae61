package probe;

// A static main(String[]) that is not public, which JNI could call but the runtime does not start.
public class HiddenMain {
    static void main(String[] args) {
        System.out.println("wrong main called");
    }
}
