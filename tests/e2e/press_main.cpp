// What the program's press makes of a plant with the square at a position
// selected, for squares that no mouse position selects (one that later
// squares cover): for each line "K SYMBOLS" on standard input, the
// derivation the click action prints.
// Usage: e2e_press < LINES
#include "app/plant_pass.h"

#include <iostream>
#include <string>

int main()
{
    int selection = 0;
    std::string symbols;
    while (std::cin >> selection >> symbols) {
        Plant arbre("{o:a[+ao]-ao;}ao", 300, 300);
        if (!arbre.setDerivation(symbols)) return 1;
        arbre.selection = selection;
        clickAction(arbre);
    }
    return 0;
}
