#include "game/app/profiles/PlayerStatistics.h"

#include "game/shared/PlayerProfile.h"

namespace Zorvin {

PlayerStatistics::PlayerStatistics()
    : drag(PlayerProfile::kLastLevelMode0), click(PlayerProfile::kLastLevelMode2)
{
}

int PlayerStatistics::RecordLevel(PlayMode mode, const LevelResult& r) { return Of(mode).Record(r); }

const ModeStatistics& PlayerStatistics::Mode(PlayMode mode) const { return mode == PlayMode::Click ? click : drag; }

void PlayerStatistics::Write(ProfileBuffer& b) const
{
    drag.Write(b);
    click.Write(b);
}

bool PlayerStatistics::Read(ProfileBuffer& b) { return drag.Read(b) && click.Read(b); }

} // namespace Zorvin
