package probe;

// main(String[]) of the right shape, but an instance method.
public class NonStaticMain {
    public void main(String[] args) {
        System.out.println("wrong main called");
    }
}
