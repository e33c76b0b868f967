/*
  #Block PIPE
  PIPE2, PIPE3
*/
extern "C" void pp0010(float* IN, float* OUT) {
    // #Description in a code comment is no section
    OUT[0] = IN[0];
}
