#include "startup.h"

int main(int argc, char** argv)
{
    return run_player(argc, argv);
}
