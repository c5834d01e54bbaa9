// The explorer's web page: the same session as duals-explorer's window,
// drawn with WebGL2 in a canvas (see src/web/web_explorer.h).

#include "web/web_explorer.h"

int main() { return pd::runWebExplorer(); }
