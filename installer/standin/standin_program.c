/* Stand-in for Quorv2.exe while the program is not part of the build: lets
   the setup's mechanics (files, registry, Start menu, uninstaller) be tested.
   It does nothing. */
int main(void) { return 0; }
