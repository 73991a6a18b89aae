#include <Console_IO_Utility.h>

int main()
{
    char name[TEXT_BUFFER_SIZE];
    promptForString("Your name: ", name);
    printString("Hello, ");
    printStringJustified(name, 10, "RIGHT");
    printCharacter('!');
    printEndline();
}
