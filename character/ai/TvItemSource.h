#pragma once

class CItem;

// What the proposer asks the character about the TV-shopping show: whether it
// was already seen since the last wake-up, and which item it would present
// (a choice that draws from the generator when there are candidates).
class ITvItemSource {
public:
    virtual ~ITvItemSource() {}
    virtual bool IsTvShownToday() const = 0;
    virtual CItem* PickTvItem() = 0;
};
