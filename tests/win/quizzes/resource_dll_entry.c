/* Entry point of the resource-only quiz DLLs: they carry no code, so loading them succeeds at once. */
int __stdcall DllMainCRTStartup(void* instance, unsigned long reason, void* reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return 1;
}
