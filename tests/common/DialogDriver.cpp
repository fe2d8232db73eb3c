#include "DialogDriver.h"
