package probe;

// The sun.java.command property, which jcmd, flight recordings and crash logs show.
public class Command {
    public static void main(String[] args) {
        System.out.println("java-command [" + System.getProperty("sun.java.command") + "]");
    }
}
