/* A real library file for the fuzz target's seeds: an exported block-form function, a
   helper, a data object and an imported name. */
int tb0002(void);

int tb0001(void) { return 1; }
int helper(int x) { return x + tb0002(); }
int data0001 = 3;
