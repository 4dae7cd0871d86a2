#include "shell/VstAbi.h"
