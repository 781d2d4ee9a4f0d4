#include "game/board/BoardRules.h"

#include "framework/core/Cp1251.h"
#include "game/board/LevelFile.h"
#include "game/shared/Res.h"

namespace Zorvin {

BoardRules::BoardRules(BoardHost& host) : host(host)
{
    field = std::make_unique<FishField>(host);
    playLine = std::make_unique<PlayLine>(*field);
    comboMeter = std::make_unique<ComboMeter>();
    deck = std::make_unique<Deck>(*field, *playLine);
    field->playLine = playLine.get();
    field->comboMeter = comboMeter.get();
    field->tally = &tally;
    field->deck = deck.get();
    field->levelReader = [](FishField& f, const std::string& path) { return LoadLevel(-1, f, path, -1, true); };
    deck->Fill(0);
    keys = std::make_unique<BoardKeys>(*this);
}

BoardRules::~BoardRules()
{
    // The line and the deck hold tiles that point at the field; they go first.
    deck.reset();
    playLine.reset();
    field.reset();
}

void BoardRules::TakeProfileCounters()
{
    PlayerProfile* p = host.CurrentProfile();
    if (!p)
        return;
    field->TakeCounters(p->Progress(field->mode).score, p->shufflesLeft);
}

void BoardRules::StartLevel()
{
    PlayerProfile* p = host.CurrentProfile();
    bool click = field->mode == PlayMode::Click;
    if (p)
        field->level.number = p->Progress(field->mode).level;
    TakeProfileCounters();
    field->RefreshReshuffleButton();
    std::string path = ChooseLevelPath(host, field->mode, field->level.number);
    if (!field->ReadLevel(path) && field->level.number != 1) {
        // A level that is there but cannot be read (a folder by that name,
        // a file without read permission) counts as missing.
        path = FallBackToFirstLevel(host, field->mode, field->level.number);
        field->ReadLevel(path);
    }
    field->DealLevel();
    AfterFieldStart();
    if (field->level.number == 1 && p && p->showHowToPlay)
        host.ShowHowToPlayDialog(click);
}

void BoardRules::Restart()
{
    StartLevelFile(field->level.path);
}

bool BoardRules::StartLevelFile(const std::string& path)
{
    TakeProfileCounters();
    field->RefreshReshuffleButton();
    bool read = field->StartLevel(path);
    AfterFieldStart();
    return read;
}

void BoardRules::AfterFieldStart()
{
    if (PlayerProfile* p = host.CurrentProfile())
        deck->placeCount = p->placeCount;
    deck->Fill(field->level.cardsInDeck);
    deck->CountMoves();
    comboMeter->Reset();
    tally.Start(field->Score());
    keys->Reset();
    // A level can be over before the first move: a file with no tiles is won
    // at once, and a deal with no move and no deck is lost, instead of
    // leaving the player on a board where nothing can happen.
    field->CheckEnd();
}

void BoardRules::Reshuffle()
{
    if (field->ShufflesLeft() <= 0 || field->Loading() || deck->dealing || reshuffling)
        return;
    int n = static_cast<int>(deck->fish.size());
    for (const Place& place : deck->places)
        n += static_cast<int>(place.size());
    // The reshuffle is spent once its animation is over: a game saved while
    // it runs (the window closed, the in-game menu left to the main menu)
    // keeps the position before it, with the reshuffle still to use.
    reshuffling = true;
    field->ReshuffleField();
    reshuffling = false;
    field->SpendShuffle();
    deck->Fill(std::max(n, 3));
    comboMeter->Reset();
    field->RefreshReshuffleButton();
    field->RemoveOrphanItems();
    // The deck's new tiles change the moves left.
    deck->CountMoves();
    field->CheckEnd();
}

void BoardRules::UndoButton()
{
    host.SetUndoEnabled(false);
    if (field->Undo())
        tally.NoteUndo();
}

void BoardRules::HintButton()
{
    field->ShowHintNow();
}

void BoardRules::Update()
{
    // Game time runs while the level is played: not in its intro, nor in
    // the editor.
    if (field->mode != PlayMode::Editor && !field->Loading())
        tally.Tick();
    field->Update();
    playLine->Update();
    deck->Update();
    comboMeter->Update();
}

bool BoardRules::MouseMove(int px, int py)
{
    if (field->Loading())
        return false;
    bool dirty = field->MouseMove(px, py);
    if (field->mode != PlayMode::Editor && deck->MouseMove(px, py))
        dirty = true;
    return dirty;
}

void BoardRules::MouseDown(int clickCode, int px, int py)
{
    if (field->Loading())
        return;
    TilePut put = field->MouseDown(clickCode, px, py);
    if (put.tile) {
        comboMeter->Add(3);
        Put(std::move(put));
        // Settled when the button comes up.
        putPending = true;
    }
    deck->MouseDown(clickCode, px, py);
}

bool BoardRules::MouseDrag(int px, int py)
{
    if (field->Loading())
        return false;
    bool moved = field->MouseDrag(px, py);
    if (field->mode != PlayMode::Editor && deck->MouseDrag(px, py))
        moved = true;
    return moved;
}

void BoardRules::MouseUp(int clickCode, int px, int py)
{
    if (field->Loading())
        return;
    // A release that ends the drag of a field tile is no click on the deck,
    // even over it: dropping a tile there (or putting it at a line end that
    // is still gliding past the deck) must not deal.
    bool endsFieldDrag = clickCode == 1 && field->drag.Dragging();
    bool putMade = putPending;
    putPending = false;
    TilePut put = field->MouseUp(clickCode, px, py);
    if (put.tile) {
        Put(std::move(put));
        putMade = true;
    }
    bool dealt = false;
    if (endsFieldDrag) {
        deck->CountMoves();
    } else if (field->mode == PlayMode::Drag || field->mode == PlayMode::Click) {
        Deck::Release release = deck->MouseUp(clickCode, px, py);
        if (release.put.tile) {
            Put(std::move(release.put));
            putMade = true;
        }
        if (release.dealt) {
            dealt = true;
            field->CheckEnd();
        }
        deck->CountMoves();
    }
    if (putMade) {
        playLine->snapSide = 0;
        SettlePut();
    } else if (clickCode == 1) {
        // The left button ends any drag: no tile is shown at an end any more.
        playLine->snapSide = 0;
    }
    // A deal cannot be undone.
    if (dealt)
        host.SetUndoEnabled(false);
}

void BoardRules::Put(TilePut put)
{
    DominoFish& f = *put.tile;
    // Recorded before the line takes the tile: the bonus it pays there
    // belongs to this put.
    put.move.fish = &f;
    field->RecordMove(put.move);
    if (put.side != 0) {
        playLine->Attach(std::move(put.tile), put.side);
        field->AwardBonus(f);
        comboMeter->Add(5);
    } else {
        // A clicked tile pays its bonus when it lands.
        playLine->PutOnCurrent(std::move(put.tile), put.clickCode);
    }
    f.layer = 0;
    if (put.move.source == PutSource::Field)
        field->AfterPut(f);
    if (put.side != 0) {
        // A joined tile changes the line's ends at once; a clicked one when
        // it lands.
        field->RecomputePlayable();
        deck->CountMoves();
        field->CheckEnd();
    } else if (put.move.source == PutSource::Deck) {
        field->RecomputePlayable();
    }
    field->ResetIdle();
}

void BoardRules::SettlePut()
{
    host.HideHint();
    if (field->mode == PlayMode::Drag && playLine->First()) {
        if (playLine->First()->joker)
            field->ShowJokerHint(310);
        else if (playLine->Last()->joker)
            field->ShowJokerHint(490);
    } else if (field->mode == PlayMode::Click && playLine->Last() && playLine->Last()->joker) {
        field->ShowJokerHint(490);
    }
    bool fromDeck = field->mode == PlayMode::Click && field->LastPut().source == PutSource::Deck;
    host.SetUndoEnabled(!fromDeck);
    ScorePut();
}

std::vector<Rect> BoardRules::KeepClearAreas() const
{
    std::vector<Rect> areas;
    for (const BoardKeys::Target& t : keys->Targets()) {
        if (t.fish)
            areas.push_back(t.area);
    }
    const ComboMeter& m = *comboMeter;
    // The meter's picture, or its usual size while the art is not bound.
    areas.emplace_back(m.x, m.y, m.meterImage ? m.meterImage->GetWidth() : 34,
                       m.meterImage ? m.meterImage->GetHeight() : 204);
    return areas;
}

void BoardRules::ScorePut()
{
    int m = comboMeter->Multiplier();
    tally.NotePut(m);
    field->AddPoints(20 * m, field->LastPut().fish);
    static const int kPopupY[5] = {0, 0, 405, 329, 260};
    switch (m) {
    case 1:
        host.PlaySound(SOUND_PUT);
        return;
    case 2:
        host.PlaySound(SOUND_PUT_X2);
        field->AddPopup(Popup(IMAGE_x2, -1, 745.0f, float(kPopupY[2]), -0.2f, -0.2f));
        return;
    case 3:
        host.PlaySound(SOUND_PUT_X3);
        field->AddPopup(Popup(IMAGE_x3, -1, 745.0f, float(kPopupY[3]), -0.2f, -0.2f));
        return;
    default:
        host.PlaySound(SOUND_PUT_X4);
        field->AddPopup(Popup(IMAGE_x4, -1, 745.0f, float(kPopupY[4]), -0.2f, -0.2f));
        return;
    }
}

} // namespace Zorvin
