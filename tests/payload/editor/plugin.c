/* A real DLL to stand at the plug-in's name while a program has it loaded. */
int PlugInVersion(void) {
    return 3;
}
