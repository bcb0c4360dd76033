#include "app/run_verdict.h"

int main(int argc, char** argv)
{
    return RunVerdict(argc, argv);
}
