// The smallest console program the toolchain makes with Quenz's flags: the yardstick for
// Quenz.exe's size and start-up time.
int main()
{
    return 0;
}
