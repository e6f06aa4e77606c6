/* The tiny program that carries version.rc. */
int main(void) { return 0; }
