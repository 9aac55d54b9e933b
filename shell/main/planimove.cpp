// Placeholder so that the tree links while the window is being written.
int main() { return 0; }
