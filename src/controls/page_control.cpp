// The class is all in its header; this file gives the build a source of the
// same name, so that the meta-object code of its signals is generated.
#include "controls/page_control.h"
