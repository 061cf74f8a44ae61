package modapp;

// A second main class of the module, started only when named as "modapp/modapp.Other".
public class Other {
  public static void main(String[] args) {
    System.out.println("module-other " + Other.class.getModule().getName());
  }
}
