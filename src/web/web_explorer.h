#pragma once

namespace pd {

// Runs the explorer in the page: the ten solid files embedded at /data,
// opened in the state the address's query names (see web/page_query.h),
// drawn into the canvas "#canvas" with WebGL2 and driven by the page's
// keys, mouse, touch and size. A refused option or notation in the query
// is told in the element "#message" and left out, as are the models'
// notes; memory running out anywhere is told there too, and the page goes
// on with what it showed. Returns at once (the browser's loop
// drives it); 2 when the page cannot show the explorer (no WebGL2, no
// data), said in "#message".
int runWebExplorer();

}  // namespace pd
