// glintscr: the script-driven presentation player.
#include "player/startup.h"

int main(int argc, char** argv) { return glint::player::glintscr_main(argc, argv); }
