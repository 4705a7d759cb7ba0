#include "app/LinksApp.h"

int main(int argc, char** argv) { return CLinksApp().Run(argc, argv); }
