/* The empty Windows executable: the floor a launcher start under Wine is
   compared with. */
int main(void) { return 0; }
