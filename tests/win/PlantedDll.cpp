// A DLL that no system has: placed beside the DLL search tests and in a folder of theirs, it
// stands for a file planted where a user opens a template.
extern "C" __declspec(dllexport) int QuelvarPlanted() {
    return 1;
}
