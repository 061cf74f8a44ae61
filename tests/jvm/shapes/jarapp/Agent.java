package jarapp;

import java.lang.instrument.Instrumentation;

// The jar's Launcher-Agent-Class: the runtime starts it before main.
public class Agent {
  static volatile boolean ran;

  public static void agentmain(String arguments, Instrumentation instrumentation) {
    ran = true;
    System.out.println("jar-agent agentmain");
  }
}
