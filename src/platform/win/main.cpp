#include "run_update.h"

int main() { return RunUpdate(); }
