// The program each of trivo-make's libraries is linked into whole, with only the libraries it
// declares (tools/CMakeLists.txt): it does nothing, it only has to link.
int main() {
    return 0;
}
