// The yardstick for the start-up cost of velquor-convert: an empty program, built and linked
// the same way.
int main() {
    return 0;
}
