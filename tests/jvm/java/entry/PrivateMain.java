package entry;

// A main(String[]) that is private: no runtime starts it.
public class PrivateMain {
    private static void main(String[] args) {
        System.out.println("private main called");
    }
}
