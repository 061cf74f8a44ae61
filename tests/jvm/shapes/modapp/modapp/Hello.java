package modapp;

public class Hello {
  public static void main(String[] args) {
    System.out.println("module-main " + Hello.class.getModule().getName() + " args " + args.length
        + " class-path [" + System.getProperty("java.class.path", "") + "]");
  }
}
