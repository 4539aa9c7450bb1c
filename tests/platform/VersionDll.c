/* Code for the small DLLs that carry the test version resources. */
int versionResourceCarrier(void) { return 0; }
