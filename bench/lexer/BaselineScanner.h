/* The flex -Cf baseline scanner of the formula rules. */
#ifndef BENCH_BASELINE_SCANNER_H
#define BENCH_BASELINE_SCANNER_H

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*BaselineTokenFn)(void* context, int code, int length);

void* BaselineScannerCreate(void);
void BaselineScannerDestroy(void* scanner);

/* Scans length bytes of text to their end and returns the number of tokens;
 * onToken, when not null, receives each token's code and length. */
long BaselineScan(void* scanner, const char* text, int length, BaselineTokenFn onToken, void* context);

#ifdef __cplusplus
}
#endif

#endif
