package probe;

// A JavaFX application needs no main of its own: the runtime's LauncherHelper judges it, and
// initialises it only once JavaFX runs.
public class FxWithoutMain extends javafx.application.Application {
    static {
        System.out.println("fx-application-initialised");
    }
}
