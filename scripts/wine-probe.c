/* The smallest Windows program: exits with 42. Started under Wine, it tells whether this machine runs
   Windows programs of the architecture it was compiled for. */
int main(void) { return 42; }
