/* libVireoTools: the utility library that the engine and the block libraries link.
 *
 * Every argument is passed by reference, as the block libraries (written in the
 * style of their original language) pass them; the length of each text argument
 * follows all other arguments, by value. Texts are fixed-length rows padded with
 * blanks unless a function says otherwise.
 *
 * Nothing here may be named "info", two letters and four digits, or start with "ub":
 * the engine's loader would take such a name for a block function. */
#ifndef VIREO_TOOLS_H
#define VIREO_TOOLS_H

#include <stddef.h>

#if defined(__GNUC__)
#define VIREO_TOOLS_API __attribute__((visibility("default")))
#else
#define VIREO_TOOLS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- messages ---------------------------------------------------------------- */

/* Reports message iarr[0]. The other slots of iarr, rarr (may be null) and the text
 * rows of sarr (may be null; rows of rowLength characters) carry the values that the
 * message's text uses. One line goes to standard output; with VIREO_MSG_TRACE set, one
 * machine-readable record is appended to the file it names. */
VIREO_TOOLS_API void msg(const int* iarr, const float* rarr, const char* sarr, size_t rowLength);
/* Writes one free text line (trailing blanks dropped). */
VIREO_TOOLS_API void ftext(const char* text, size_t length);
/* Writes one text line for the host window whose handle is passed by address; an empty
 * or all-blank text writes nothing. */
VIREO_TOOLS_API void os0ltxt(const long* host, const char* text, size_t length);
/* Number of messages with codes from 300000 up reported since the library was loaded
 * (or since the last reset): the host turns it into its exit status. */
VIREO_TOOLS_API int vireo_tools_error_count(void);
VIREO_TOOLS_API void vireo_tools_reset_error_count(void);
/* The same count where it is kept: the engine reads it around every block call to tell
 * an error a block reported from one it only answered. */
VIREO_TOOLS_API const int* vireo_tools_error_counter(void);
/* Standard output whose reader is gone (a write fails with EPIPE: the process ignores
 * SIGPIPE): msg and ftext call the hook once, so that the run's owner can stop a run that
 * nobody follows any more. */
typedef void (*vireo_output_closed_hook)(void);
VIREO_TOOLS_API void vireo_tools_on_output_closed(vireo_output_closed_hook hook);
/* msg for a process that a fatal signal ends: the same line and trace record, made
 * without allocating and written with write(2) alone, so that a signal handler may send
 * it. prepare_last_message, called before such a signal may come, reads the catalogue and
 * the name of the trace file. Nothing is counted. */
VIREO_TOOLS_API void vireo_tools_prepare_last_message(void);
VIREO_TOOLS_API void vireo_tools_last_message(const int* iarr, const float* rarr, const char* sarr, size_t rowLength);

/* ---- one run: its files, and the end of the process ----------------------------- */

/* The engine begins every run (model check, -s, -l or a run) with run_begins, which
 * forgets the claims of the run before and claims the files the run's messages go to
 * (standard output, standard error and the message trace, when they are files), and
 * calls run_steps before the first step. A block starts a file it writes only once the
 * run steps: a check, or a run that fails at initialisation, leaves every file as it was. */
VIREO_TOOLS_API void vireo_tools_run_begins(void);
VIREO_TOOLS_API void vireo_tools_run_steps(void);
VIREO_TOOLS_API int vireo_tools_run_is_stepping(void);
/* Whether the run's owner has asked the run to stop: the engine hands over the run flag
 * (the host's, which a stop sets to 0) when a run begins, and a block that waits for
 * something outside the run (a file another process holds) gives up when this is 1. */
VIREO_TOOLS_API void vireo_tools_set_run_flag(const volatile int* flag);
VIREO_TOOLS_API int vireo_tools_run_stopped(void);
/* Claims a file for the run: for reading (writes 0), writing (1), or writing afresh (2:
 * when the file exists and is open as fd, run_steps takes the file's lock (flock) through
 * fd and empties it, so that a run that ends before its writer writes leaves no rows of a
 * run before, and leaves a file another run holds alone; the writer keeps fd open, and
 * with it the lock, until it gives the claim up), by its owner (a block's name and number,
 * the name of a model file with number 0, of a library the process has loaded with number
 * -1, or of where the run's messages go with number -2). The file is the one open as fd
 * when fd >= 0, else the one path names. Files are compared by identity,
 * not by spelling: device and inode of a file that exists (whatever link or name leads
 * to it); for a file still to be made, its directory's identity and its name there
 * (links followed as far as they lead). Returns 0 and keeps the claim, or 1 when the
 * file is claimed by another owner already and one of the two writes it: then the
 * earlier claim's owner (NUL-terminated, cut to otherLength), number and writes flag
 * are given back and the new claim is not kept. Devices and pipes are never claimed. */
VIREO_TOOLS_API int vireo_tools_claim_file(const char* path, int fd, const char* owner, int number, int writes,
                                           char* otherOwner, size_t otherLength, int* otherNumber, int* otherWrites);
/* Gives up the claims of an owner (a block at its last call). */
VIREO_TOOLS_API void vireo_tools_release_files(const char* owner, int number);
/* A library that must end the process (the water and steam routines' fatal report)
 * calls process_ends first: the hook that the run's owner set (the engine names the
 * block it is calling, where the model places it, the model time and the block's
 * inputs) runs once, and every output stream is flushed. */
typedef void (*vireo_process_end_hook)(void);
VIREO_TOOLS_API void vireo_tools_on_process_end(vireo_process_end_hook hook);
VIREO_TOOLS_API void vireo_tools_process_ends(void);
/* Results that a library holds in its own memory before it writes them (rows a block
 * buffers): the holder registers a writer for what it holds, and withdraws it before it
 * lets go of `held`. write_pending calls every writer, in the order they were
 * registered: process_ends does (after the hook, before the streams are flushed), the
 * engine does when a run pauses, so that what was computed reaches its file then, and
 * when a fatal signal (a crashing block) ends the process. A writer may therefore run in
 * a signal handler, in the middle of any call: it writes whole records of what it holds
 * with write(2) and allocates nothing. */
typedef void (*vireo_pending_writer)(void* held);
VIREO_TOOLS_API void vireo_tools_hold_pending(vireo_pending_writer writer, void* held);
VIREO_TOOLS_API void vireo_tools_release_pending(vireo_pending_writer writer, void* held);
VIREO_TOOLS_API void vireo_tools_write_pending(void);

/* ---- block identification ----------------------------------------------------- */

/* Stores a block's identity in the identification-answer layout of the block arrays:
 * IP[0] nameCount, IP[1] minInputs, IN[0] maxInputs, OUT[0] outputCount, IP[2] ipSize,
 * IP[3] minParameters, IP[4] minStrings, IP[5] maxStrings, IP[6] group, IP[7] rpSize,
 * IP[8] dpSize, IP[9] maxParameters, and the name list in SP row 0 (1024 characters).
 * The trailing lengths are not read: some callers pass fewer or other values. RP, DP
 * and BP may be null. */
VIREO_TOOLS_API void id(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP,
                        char* SP, const char* names, const int* nameCount,
                        const int* minInputs, const int* maxInputs, const int* outputCount,
                        const int* ipSize, const int* rpSize, const int* dpSize,
                        const int* minParameters, const int* maxParameters,
                        const int* minStrings, const int* maxStrings, const int* group,
                        size_t spLength, size_t namesLength);

/* ---- installation and platform ------------------------------------------------- */

/* Directory for a kind, NUL-terminated, ending with "/", and its length (0 for an
 * unknown kind). Kinds: 5 include files, 6 installation and first block directory,
 * 9 user state, 10 the user's block directory, 11 user settings. Each can be set by an
 * environment variable: VIREO_INCLUDE_DIR, VIREO_HOME, VIREO_STATE_DIR,
 * VIREO_USER_BLOCKS, VIREO_CONFIG_DIR. At most pathCapacity (at least 1024) bytes are
 * written. */
VIREO_TOOLS_API void get_paths(const int* kind, char* path, int* length, size_t pathCapacity);
/* 1 when paths use backslashes; 0 here. */
VIREO_TOOLS_API void getos(int* os);
/* Number of line-end characters after each record of a direct-access data file: 2, for
 * the CR LF that every such record ends with on every platform. */
VIREO_TOOLS_API void getlenoflf(int* count);
VIREO_TOOLS_API void getpref(const int* code, char* text, int* length, int* value, size_t textLength);
VIREO_TOOLS_API void getjavaflag(const int* flag);
/* Changes the working directory; a NUL-terminated text. Returns 0 on success. */
VIREO_TOOLS_API int set_working_directory(const char* directory);

/* ---- text ---------------------------------------------------------------------- */

/* Copies `in` into `out` without the characters of `set` (its first setLength
 * characters) at its end (mode 0), its start (mode 1) or both (mode 2); `out` is
 * blank-padded and `length` is the stripped length (0 for a text made only of set
 * characters). status: 0, or 1 when the stripped text did not fit into `out` (cut). */
VIREO_TOOLS_API void strip(const char* in, const char* set, const int* mode, char* out,
                           int* length, int* status, size_t inLength, size_t setLength,
                           size_t outLength);
/* Upper-case copy, blank-padded; status 1 when `in` did not fit into `out` (cut). */
VIREO_TOOLS_API void lc2uc(const char* in, char* out, int* status, size_t inLength, size_t outLength);

/* Checks a read format given by a user (a parenthesised list of edit descriptors, or
 * "*" for list-directed reading; leading and trailing blanks, and everything from a NUL
 * on, are ignored). status 0: the format can read values; otherwise the 1-based column
 * of the first fault. Accepted descriptors: Iw, Iw.m, Fw.d, Ew.d, Dw.d, A, Aw, nX, "/",
 * repeat counts and groups; a quoted text, or a format that reads no value, is refused. */
VIREO_TOOLS_API void ckform(const char* text, int* status, size_t length);

/* ---- calendar (Gregorian) ------------------------------------------------------ */

/* Julian day number of a date (the day that begins at noon of that date): 1 January
 * 2000 gives 2451545. */
VIREO_TOOLS_API void julian(const int* year, const int* month, const int* day, int* result);
/* Inverse of julian, shifted by one day so that a clock time can be carried as
 * (julian(date) - 1) + hour / 24: day count t gives the date whose julian number is
 * floor(t) + 1, and `day` holds that date's day of month plus the fraction of t. */
VIREO_TOOLS_API void jd2dat(const double* t, int* year, int* month, float* day);
/* Day of the year, 1..366 (31 December of a leap year is 366). */
VIREO_TOOLS_API int idoy(const int* year, const int* month, const int* day);
/* Hour of the year, 1-based: 24 * (idoy - 1) + hour + 1, for hour 0..23. */
VIREO_TOOLS_API int ihoy(const int* year, const int* month, const int* day, const int* hour);

/* ---- numerics ------------------------------------------------------------------ */

typedef float (*vireo_residual)(const float* x);
/* Root of f in [xmin, xmax] to tolerance tol within nmax steps. mode 1: Brent's method;
 * any other mode: bisection. status is set on every call: 0 found (an interval that
 * cannot shrink further counts as converged), -1 the bracket holds no sign change, -2
 * the step limit was reached; the best estimate is returned in every case. */
VIREO_TOOLS_API float xroot(vireo_residual f, const float* xmin, const float* xmax,
                            const float* tol, const int* mode, const int* nmax, int* status);
/* Uniform deviate in (0, 1). The generator state lives entirely in the caller's seed,
 * state and 97-value table: a call with state 0 starts the sequence from the seed, so
 * two callers with the same seed get the same sequence. */
VIREO_TOOLS_API float ran1(int* seed, int* state, float* table);
/* Normal deviate N(0, 1) drawn from the same generator. */
VIREO_TOOLS_API float gasdev(int* seed, int* state, float* table);

/* ---- properties of air, water and humid air ------------------------------------- */

/* Functions with a status set it on every call: 0 in the formulation's range; -1 outside
 * it, where the value is extrapolated or held at the nearer end of the range; -2 for an
 * input that is NaN or infinite, where the value is 0; -3 for an unknown variant (taken
 * as 1). Functions without a status give 0 for such an input. No function returns NaN
 * or an infinity. */

/* Dry air, t in degC, within 100 K to 2000 K (the nearer end outside): specific heat
 * capacity in J/(kg K), thermal conductivity in W/(m K), kinematic viscosity in m2/s and
 * thermal diffusivity in m2/s (both at 101 325 Pa), density in kg/m3 at pressure p in Pa
 * (ideal gas, 287.05 J/(kg K)), Prandtl number (independent of p). */
VIREO_TOOLS_API float aircp(const float* t);
VIREO_TOOLS_API float airlam(const float* t);
VIREO_TOOLS_API float airvis(const float* t);
VIREO_TOOLS_API float airhco(const float* t);
VIREO_TOOLS_API float airrho(const float* t, const float* p);
VIREO_TOOLS_API float airpr(const float* t, const float* p);

/* Water: saturation pressure in Pa at t in degC, and saturation temperature in degC at p
 * in Pa; variant 1 over liquid water (0 to 373.946 degC, extrapolated over supercooled
 * water down to -73.15 degC), variant 2 over ice below 0.01 degC (down to -223.15 degC)
 * and over liquid water above. satt is finite and non-decreasing for every finite p. */
VIREO_TOOLS_API float satp(const int* variant, const float* t, int* status);
VIREO_TOOLS_API float satt(const int* variant, const float* p, int* status);
/* Enthalpy of saturated liquid, of saturated vapour and of evaporation in kJ/kg at t in
 * degC (0.01 to 373.946 degC; the nearer end outside). */
VIREO_TOOLS_API float h2ohl(const float* t, int* status);
VIREO_TOOLS_API float h2ohv(const float* t, int* status);
VIREO_TOOLS_API float h2ohe(const float* t, int* status);

/* Humid air at 101 325 Pa: humidity ratio x in g per kg of dry air, enthalpy h in kJ per
 * kg of dry air, relative humidity phi as a fraction (not limited to 1), t in degC
 * (-100 to 200 degC). They stay finite and monotone for x below 0 and past saturation. */
VIREO_TOOLS_API float humr2a(const float* phi, const float* t, int* status);
VIREO_TOOLS_API float huma2r(const float* x, const float* t, int* status);
VIREO_TOOLS_API float humh(const float* x, const float* t);
VIREO_TOOLS_API float humh2t(const float* x, const float* h, int* status);
VIREO_TOOLS_API float humh2x(const float* t, const float* h, int* status);

#ifdef __cplusplus
}
#endif

#endif
