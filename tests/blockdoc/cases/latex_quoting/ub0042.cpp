//#Block PIPE_2
//#Description
// Loses 3 % of its heat & more; see note #4 on A_B, x^2, a<b>c and a|b.
// Its loss is $\dot Q = U A \, (t_m - t_a)$ in W/(m$^2$ K), written as
// $k_{\mathrm{w}}$ or split $a +
// b^{2}$ over two lines; 5 \% stays quoted; a \texttt{file_name} too.
//#Layout
//#Inputs 2 (t_in, t_a)
//#Outputs 1
//#Details
//#Inputs
//#IN[0] Inlet temperature t_in ($^\circ$C)
//#IN[1] Ambient & room (50 % each)
//#Outputs
//#OUT[n_1] Heat loss (W)
//#end
