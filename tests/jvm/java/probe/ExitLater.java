package probe;

// main returns at once; a daemon thread ends the program through System.exit a little later.
public class ExitLater {
    public static void main(String[] args) {
        Thread exiter = new Thread(() -> {
            try {
                Thread.sleep(300);
            } catch (InterruptedException e) {
                return;
            }
            System.out.println("exiting");
            System.exit(3);
        });
        exiter.setDaemon(true);
        exiter.start();
        System.out.println("main-returning");
    }
}
