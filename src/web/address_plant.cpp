// The plant the page's address holds: taken at start-up in place of the
// three derivations, and again after Back, Forward, an edited address or
// Start over. The page reads and inflates the address; the plant checks
// the symbols.
#include "app/platform.h"
#include "web/loop.h"

#include <emscripten.h>

#include <string>

namespace {

// The plant of the three derivations: the page's plant where its address
// holds none, or none it can take.
std::string usualPlant;

// The plant the page read from its address, as bytes: Module.addressPlant,
// or null where the address holds none.
EM_JS(int, addressPlantSize, (), { return Module.addressPlant ? Module.addressPlant.length : -1; });
EM_JS(void, copyAddressPlant, (char* to), { HEAPU8.set(Module.addressPlant, to); });

// Tells the page what became of its address's plant at start-up.
EM_JS(void, addressRead, (int taken), { if (Module.addressRead) Module.addressRead(taken); });

// Sets the address's plant, or the usual one where there is none or the
// plant refuses it. 1 where the address's plant was set, 0 where it was
// refused, -1 where there was none.
int takeAddressPlant(Plant& plant)
{
    int taken = -1;
    const int size = addressPlantSize();
    if (size >= 0) {
        std::string symbols(static_cast<std::size_t>(size), '\0');
        copyAddressPlant(symbols.data());
        taken = plant.setDerivation(symbols) ? 1 : 0;
    }
    if (taken != 1) plant.setDerivation(usualPlant);
    return taken;
}

} // namespace

// Shows the plant that the page's address now holds, after Back, Forward,
// an edited address or Start over, and prints it. Returns as
// takeAddressPlant does; -2, with nothing done, once the program has ended.
extern "C" EMSCRIPTEN_KEEPALIVE int showAddressPlant()
{
    Frame* running = runningFrame();
    if (!running) return -2;
    const int taken = takeAddressPlant(running->arbre);
    restartPlantPass(*running);
    running->arbre.print();
    wakeFrames();
    return taken;
}

void adoptStartingPlant(Plant& plant)
{
    usualPlant = plant.derivation;
    addressRead(takeAddressPlant(plant));
}
