#include "common/Text.h"
