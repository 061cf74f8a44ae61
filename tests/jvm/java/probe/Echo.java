package probe;

// Writes the arguments main received, each as its UTF-16 code units in hex, so that the test sees
// exactly what arrived.
public class Echo {
    public static void main(String[] args) {
        System.out.println("main-entered " + (args == null ? "null" : "argc " + args.length));
        for (int i = 0; i < args.length; i++) {
            StringBuilder units = new StringBuilder();
            for (int j = 0; j < args[i].length(); j++) {
                units.append(j == 0 ? "" : " ").append(String.format("%04x", (int) args[i].charAt(j)));
            }
            System.out.println("arg " + i + ": [" + units + "]");
        }
    }
}
