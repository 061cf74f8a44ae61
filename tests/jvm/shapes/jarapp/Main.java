package jarapp;

import java.lang.reflect.Field;

// An executable jar's main class: it reflects into java.lang, which only the manifest's
// Add-Opens allows from JDK 17 on, and asks for a native library, which JDK 24 and later warn
// about unless the manifest enables native access.
public class Main {
  public static void main(String[] args) throws Exception {
    System.out.println("jar-main agent-ran " + Agent.ran + " args " + args.length);
    Field value = String.class.getDeclaredField("value");
    value.setAccessible(true);
    System.out.println("jar-main reflected into java.lang");
    try {
      System.loadLibrary("launcher-test-absent");
    } catch (UnsatisfiedLinkError expected) {
      System.out.println("jar-main native access asked");
    }
  }
}
