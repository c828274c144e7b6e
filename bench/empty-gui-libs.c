/* An executable that does nothing but bring in the window and drawing
   libraries the launcher imports: under Wine their loading alone is most of
   a launcher start, so this is the floor of the launcher's imports. */
#include <windows.h>

int main(void) { return GetSystemMetrics(SM_CXSCREEN) < 0 || GetStockObject(WHITE_BRUSH) == NULL; }
