// The program's own widgets live in this library.
