package probe;

// main returns while a non-daemon thread of the program still has work to do.
public class Lingering {
    public static void main(String[] args) {
        Thread worker = new Thread(() -> {
            try {
                Thread.sleep(500);
            } catch (InterruptedException e) {
                return;
            }
            System.out.println("worker-finished");
        });
        worker.start();
        System.out.println("main-returning");
    }
}
