package entry;

// A static main without parameters and an instance main(String[]): 25 prefers the parameter,
// 21's preview the static method.
public class TwoForms {
    static void main() {
        System.out.println("entry static-without-arguments");
    }

    void main(String[] args) {
        System.out.println("entry instance-with-arguments argc " + args.length);
    }
}
