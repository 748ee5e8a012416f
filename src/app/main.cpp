#include "app/Application.h"

int main(int argc, char *argv[])
{
    return zx::runApplication(argc, argv);
}
