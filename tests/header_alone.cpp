// The installed header must compile on its own, included first.
#include "Console_IO_Utility.h"
