// The font library keeps a per-process cache that it never frees; not ours to report.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
