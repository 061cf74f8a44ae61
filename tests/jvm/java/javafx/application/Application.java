package javafx.application;

// Stands in for JavaFX's class of that name, which the runtime's LauncherHelper recognises by
// name; the JDK under test has no JavaFX.
public abstract class Application {
}
