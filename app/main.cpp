#include "app/LinksApp.h"
#include "platform/HugePages.h"

int main(int argc, char** argv)
{
    UseHugePagesForTheHeap(argv);
    return CLinksApp().Run(argc, argv);
}
