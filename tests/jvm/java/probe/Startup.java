package probe;

// The wall-clock time at which main began, in microseconds since the epoch.
public class Startup {
    public static void main(String[] args) {
        java.time.Instant now = java.time.Instant.now();
        System.out.println("main-at " + (now.getEpochSecond() * 1_000_000L + now.getNano() / 1_000));
    }
}
