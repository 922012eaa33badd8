// Combat: shots against missiles, score and population.
#pragma once

// Run by the idle update every more than 50 ms.
void combatUpdate();
