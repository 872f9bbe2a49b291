// Writers for the model families. Each takes the data tree's root folder and
// writes its OBJ, MTL and JPEG files below Models/.
#pragma once
#include <string>

namespace datagen {

void writePig(const std::string& root);       // Models/Pig: pig9, left_wing, right_wing
void writeBystander(const std::string& root); // Models/People/Bystand/Bystander
void writeGround(const std::string& root);    // Models/Ground: sea ground, island, water, distortion maps
void writeMarkers(const std::string& root);   // Models/Positions/position1..13
void writePalms(const std::string& root);     // Models/Landscape/Palms/palm1..41
void writeBoat(const std::string& root);      // Models/Landscape/boatyMcBoatface

} // namespace datagen
