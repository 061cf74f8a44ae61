package probe;

// Creates objects through reflection often enough that the runtime generates an accessor class
// of an old class-file version, which HotSpot cannot archive and warns about when it writes one.
public class Reflective {
    public static void main(String[] args) throws Exception {
        for (int i = 0; i < 50; i++) Reflective.class.getDeclaredConstructor().newInstance();
        System.out.println("main-entered argc " + args.length);
    }
}
