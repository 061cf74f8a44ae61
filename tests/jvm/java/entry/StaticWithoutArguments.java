package entry;

// Only a static main without parameters, not public: started from 25 on.
public class StaticWithoutArguments {
    static void main() {
        System.out.println("entry static-without-arguments");
    }
}
