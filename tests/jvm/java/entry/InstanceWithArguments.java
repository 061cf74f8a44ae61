package entry;

// Only an instance main(String[]): started from 25 on, on an object made for it.
public class InstanceWithArguments {
    private final String madeBy = "constructor";

    void main(String[] args) {
        System.out.println("entry instance-with-arguments argc " + args.length + " " + String.join("|", args)
                + " " + madeBy);
    }
}
