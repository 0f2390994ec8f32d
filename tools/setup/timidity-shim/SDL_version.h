/* See SDL.h beside this file. */
#include "SDL.h"
