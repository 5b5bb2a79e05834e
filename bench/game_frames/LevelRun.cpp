#include "game_frames/LevelRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "entities/core/EntityManager.h"
#include "entities/widgets/CButtonEntity.h"
#include "entities/widgets/CWindowEntity.h"
#include "graphics/hgeSprite.h"
#include "platform/FrameDriver.h"
#include "profiles/Player.h"
#include "profiles/PlayerManager.h"
#include "scene/PSLayer.h"
#include "scene/PlayField.h"
#include "scene/SceneObject.h"
#include "screens/ComicScreen.h"
#include "screens/LevelPanel.h"
#include "screens/LevelScreen.h"
#include "screens/LevelWindows.h"

using ZOLTFramework::CEntity;

namespace {

using Clock = std::chrono::steady_clock;

// The part of the screen a click may land on: right of the panel, clear of
// the bag button in the lower left.
bool InPlayArea(float x, float y) {
    return x >= 195.0f && x <= 790.0f && y >= 10.0f && y <= 590.0f && !(x < 300.0f && y > 420.0f);
}

void Inject(InputEvent::Kind kind, float x, float y, int key) {
    InputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.key = key;
    FrameDriver::Inject(event);
}

// A screen point where the field's hit test answers the object, nearest its
// middle; false when there is none in the play area.
bool PointOn(SceneObject* object, PlayField* field, float* x, float* y) {
    hgeSprite* sprite = object->GetDisplaySprite();
    if (!sprite) return false;
    const float k = SceneObject::kSceneToScreen;
    const float left = (object->GetAbsoluteX() - sprite->GetHotSpotX()) * k;
    const float top = (object->GetAbsoluteY() - sprite->GetHotSpotY()) * k;
    const float w = sprite->GetWidth() * k, h = sprite->GetHeight() * k;
    std::vector<std::pair<float, std::pair<float, float>>> points;
    for (float py = top + 2.0f; py < top + h - 2.0f; py += 3.0f)
        for (float px = left + 2.0f; px < left + w - 2.0f; px += 3.0f)
            points.push_back({std::hypot(px - (left + w * 0.5f), py - (top + h * 0.5f)), {px, py}});
    std::sort(points.begin(), points.end());
    for (const auto& p : points) {
        const float px = p.second.first, py = p.second.second;
        if (!InPlayArea(px, py)) continue;
        if (field->FindObjectAt(px * PlayField::kScreenToScene, py * PlayField::kScreenToScene) != object) continue;
        *x = px;
        *y = py;
        return true;
    }
    return false;
}

}  // namespace

LevelRun::LevelRun(EntityManager& m, double seconds) : manager(m), playSeconds(seconds) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("data/Scenes", ec))
        if (entry.is_regular_file() && entry.path().extension() == ".xml")
            scenes.push_back("data/Scenes/" + entry.path().filename().string());
    std::sort(scenes.begin(), scenes.end());
    if (scenes.empty()) stage = kDone;
}

LevelScreen* LevelRun::Level() const { return levelAlive.expired() ? nullptr : level; }

void LevelRun::CloseAll() {
    PlayerManager* players = PlayerManager::Instance();
    players->Timer->Clear();
    players->KillEntities();
    for (CEntity* screen : manager.GetDrawList()) screen->Kill();
    for (CEntity* screen : manager.GetScreenStack()) screen->Kill();
    level = nullptr;
    levelAlive.reset();
    click.active = false;
    // The dead screens go (and free their resource groups) in the next update,
    // before another level loads its own.
    waitFrames = 2;
}

void LevelRun::Open(const std::string& scene) {
    if (std::getenv("DROVALIN_BENCH_VERBOSE"))
        std::fprintf(stderr, "%.1f s: opening %s\n", playTime, scene.c_str());
    // A fresh timed game each time: the clock and cigars of a new level.
    if (Player* player = PlayerManager::Instance()->GetActivePlayer()) {
        player->Time = 1200.0f;
        player->CigarCount = 3;
        player->PlayFieldPath.clear();
    }
    openedAt = Clock::now();
    level = manager.OpenScreen<LevelScreen>(scene, LevelScreen::kReturnScreen);
    level->SetLayer(2.0f);
    levelAlive = level->GetLifeToken();
    drawn = false;
    tried.clear();
    blockedSince = wonAt = -1;
}

void LevelRun::BeforeFrame() {
    ++frame;
    if (stage == kDone) return;
    if (waitFrames > 0) {
        --waitFrames;
        return;
    }
    if (stage == kPlay || stage == kScale) {
        if (!Level()) {
            Open(stage == kPlay ? busiest : scaleScenes[scaleIndex].path);
            return;
        }
        Play();
        return;
    }
    if (next == 0) {
        CloseAll();  // the menu goes first
        next = 1;
        return;
    }
    if (!Level()) {
        if (next - 1 < scenes.size()) {
            Open(scenes[next - 1]);
            return;
        }
        size_t best = 0;
        for (size_t i = 1; i < loads.size(); ++i)
            if (loads[i].objects + loads[i].particles > loads[best].objects + loads[best].particles) best = i;
        busiest = loads[best].scene;
        stage = kPlay;
        Open(busiest);
        return;
    }
    if (!drawn) return;
    PlayField* field = level->FindChild<PlayField>("PlayField");
    SceneLoad& load = loads.back();
    load.objects = field ? field->GetSceneObjects().size() : 0;
    const PSLayer* particles = field ? field->FindChild<PSLayer>(PlayField::kParticleLayerName) : nullptr;
    load.particles = particles ? particles->GetSystems().size() : 0;
    ++next;
    CloseAll();
}

void LevelRun::AfterRender(const FrameCost& cost, bool recorded) {
    LevelScreen* open = Level();
    if (!open || open->IsDead()) return;
    if (drawn) {
        if (stage == kScale && Playable(open))
            (recorded ? scaleScenes[scaleIndex].recordedFrames : scaleScenes[scaleIndex].frames).push_back(cost);
        return;
    }
    const std::vector<CEntity*> drawList = manager.GetDrawList();
    if (std::find(drawList.begin(), drawList.end(), open) == drawList.end()) return;
    drawn = true;
    if (stage == kScale && scaleScenes[scaleIndex].loadMs < 0)
        scaleScenes[scaleIndex].loadMs = std::chrono::duration<double, std::milli>(Clock::now() - openedAt).count();
    if (stage != kLoads) return;
    SceneLoad load;
    load.scene = scenes[next - 1];
    load.ms = std::chrono::duration<double, std::milli>(Clock::now() - openedAt).count();
    loads.push_back(load);
}

void LevelRun::AddScaleScene(int objects, const std::string& path, double seconds) {
    ScaleScene scene;
    scene.objects = objects;
    scene.path = path;
    scene.seconds = seconds;
    scaleScenes.push_back(scene);
}

void LevelRun::CountTime(float dt) {
    if ((stage != kPlay && stage != kScale) || !Level()) return;
    playTime += dt;
    if (stage == kScale && !Playable(level)) {
        // A generated scene that never lets the player play is given up.
        if (counts->stuck >= 2) NextStage();
        return;
    }
    counts->seconds += dt;
    if (counts->seconds >= (stage == kPlay ? playSeconds : scaleScenes[scaleIndex].seconds)) {
        NextStage();
        return;
    }
    if (PlayField* field = level->FindChild<PlayField>("PlayField")) {
        counts->mostFlights = std::max(counts->mostFlights, size_t(std::max(0, field->Rules().ItemsOnTheirWay())));
        if (const PSLayer* particles = field->FindChild<PSLayer>(PlayField::kParticleLayerName))
            counts->mostParticles = std::max(counts->mostParticles, particles->GetSystems().size());
    }
}

void LevelRun::NextStage() {
    if (stage == kScale) ++scaleIndex;
    if (scaleIndex >= scaleScenes.size()) {
        stage = kDone;
        return;
    }
    stage = kScale;
    counts = &scaleScenes[scaleIndex].play;
    CloseAll();
}

bool LevelRun::Playable(LevelScreen* open) const {
    PlayField* field = open->FindChild<PlayField>("PlayField");
    return field && manager.GetTopScreen() == open && open->IsPanelIn() && field->IsPlaying() &&
           open->Windows().IsQuiet();
}

// Comic pages are clicked through, hint and other windows answered with Enter.
void LevelRun::ClearWindows(LevelScreen* open) {
    CEntity* top = manager.GetTopScreen();
    if (!top || top == open || frame % 15 != 0) return;
    if (dynamic_cast<ComicScreen*>(top)) {
        StartClick(400.0f, 300.0f);
    } else {
        Inject(InputEvent::Press, 0, 0, HGEK_ENTER);
    }
}

void LevelRun::StartClick(float x, float y) {
    click.x = x;
    click.y = y;
    click.frame = 0;
    click.active = true;
}

// Move there in one frame, press in the next.
bool LevelRun::StepClick() {
    if (!click.active) return false;
    if (click.frame++ == 0) {
        Inject(InputEvent::Move, click.x, click.y, 0);
    } else {
        Inject(InputEvent::Press, 0, 0, HGEK_LBUTTON);
        click.active = false;
    }
    return true;
}

void LevelRun::Play() {
    if (StepClick()) return;
    LevelScreen* open = level;
    PlayField* field = open->FindChild<PlayField>("PlayField");
    if (field && (field->Rules().WinSent() || open->IsSceneFinished())) {
        // Let the last flights land, then play it again.
        if (wonAt < 0) wonAt = playTime;
        if (playTime - wonAt > 2.0) {
            ++counts->wins;
            CloseAll();
        }
        ClearWindows(open);
        return;
    }
    if (!Playable(open)) {
        if (std::getenv("DROVALIN_BENCH_VERBOSE") && frame % 300 == 0) {
            CEntity* top = manager.GetTopScreen();
            const CEntity* panel = open->FindChild("Panel");
            std::fprintf(stderr, "%.1f s: waiting (top screen %s, panel at %.0f)\n", playTime,
                         top ? top->GetName().c_str() : "-", panel ? panel->GetX() : -1.0f);
        }
        if (blockedSince < 0) blockedSince = playTime;
        if (playTime - blockedSince > 30.0) {
            ++counts->stuck;
            CloseAll();
            return;
        }
        ClearWindows(open);
        return;
    }
    blockedSince = -1;

    // The lens follows the mouse across the scene.
    const float t = float(playTime);
    Inject(InputEvent::Move, 492.0f + 290.0f * std::sin(t * 0.9f), 300.0f + 280.0f * std::sin(t * 1.3f + 0.5f), 0);

    if (playTime >= nextFind) {
        nextFind += 4.0;
        if (Find(field)) {
            ++counts->finds;
        } else {
            ++counts->exhausted;
            CloseAll();
        }
        return;
    }
    if (playTime >= nextMiss) {
        nextMiss += 3.0;
        if (Miss(field)) ++counts->misses;
        return;
    }
    if (playTime >= nextCigar && TakeCigar(open)) {
        nextCigar = playTime + 20.0;
        ++counts->cigars;
    }
}

bool LevelRun::Find(PlayField* field) {
    for (SceneObject* object : field->GetSceneObjects()) {
        const std::string& name = object->GetName();
        if (tried.count(name) || field->Rules().TasksMatching(name).empty()) continue;
        float x = 0, y = 0;
        if (!PointOn(object, field, &x, &y)) continue;
        tried.insert(name);
        StartClick(x, y);
        return true;
    }
    return false;
}

bool LevelRun::Miss(PlayField* field) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        seed = seed * 1103515245u + 12345u;
        const float x = 200.0f + float((seed >> 8) % 590u);
        seed = seed * 1103515245u + 12345u;
        const float y = 15.0f + float((seed >> 8) % 400u);
        if (!InPlayArea(x, y)) continue;
        if (field->FindObjectAt(x * PlayField::kScreenToScene, y * PlayField::kScreenToScene)) continue;
        StartClick(x, y);
        return true;
    }
    return false;
}

bool LevelRun::TakeCigar(LevelScreen* open) {
    Player* player = PlayerManager::Instance()->GetActivePlayer();
    ZOLTFramework::CButtonEntity* button = open->FindChild<ZOLTFramework::CButtonEntity>("CigarButton");
    if (!player || player->CigarCount <= 0 || !button || open->Panel().GetCigarCooldown() > 0.0f) return false;
    const hgeRect& r = button->GetRect();
    StartClick((r.x1 + r.x2) * 0.5f, (r.y1 + r.y2) * 0.5f);
    return true;
}

double LevelRun::WorstLoadMs() const {
    double worst = 0;
    for (const SceneLoad& load : loads) worst = std::max(worst, load.ms);
    return worst;
}

void LevelRun::PrintReport() const {
    for (const SceneLoad& load : loads)
        std::printf("scene load    %-28s %7.1f ms  (%zu objects, %zu particle systems)\n", load.scene.c_str(), load.ms,
                    load.objects, load.particles);
    std::printf("busiest level %s: %.1f s played; %d objects found, %d misses, %d cigar hints; %d wins, %d times nothing "
                "left to find, %d times stuck behind a window; at most %zu flights and %zu particle systems at once\n",
                busiest.c_str(), busiestPlay.seconds, busiestPlay.finds, busiestPlay.misses, busiestPlay.cigars,
                busiestPlay.wins, busiestPlay.exhausted, busiestPlay.stuck, busiestPlay.mostFlights,
                busiestPlay.mostParticles);
    PrintScaling();
}

// One row per generated scene, then the cost each step of objects added: a
// marginal cost per 100 objects that grows from step to step means the cost
// grows faster than the count.
void LevelRun::PrintScaling() const {
    if (scaleScenes.empty()) return;
    std::printf("scaling run   objects  load ms  frames  update ms  render ms  total ms (p99)     quads  calls  "
                "filled  found\n");
    std::vector<double> totals;
    for (const ScaleScene& scene : scaleScenes) {
        double update = 0, render = 0, quads = 0;
        std::vector<double> total;
        for (const FrameCost& f : scene.frames) {
            update += f.update;
            render += f.render;
            quads += f.quads;
            total.push_back(f.update + f.render);
        }
        const double n = std::max<double>(1.0, double(scene.frames.size()));
        double calls = 0, fill = 0;
        for (const FrameCost& f : scene.recordedFrames) {
            calls += f.drawCalls;
            fill += f.fill;
        }
        const double sampled = std::max<double>(1.0, double(scene.recordedFrames.size()));
        totals.push_back((update + render) / n);
        std::printf("              %7d  %7.1f  %6zu  %9.3f  %9.3f  %8.3f (%.3f)  %8.1f  %5.0f  %6.2f  %5d\n",
                    scene.objects, scene.loadMs, scene.frames.size(), update / n, render / n, totals.back(),
                    Percentile(total, 0.99), quads / n, calls / sampled, fill / sampled, scene.play.finds);
    }
    for (size_t i = 1; i < scaleScenes.size(); ++i) {
        const double added = double(scaleScenes[i].objects - scaleScenes[i - 1].objects) / 100.0;
        if (added <= 0) continue;
        std::printf("scaling run   %d to %d objects: frame +%.3f ms, load +%.1f ms per 100 objects added\n",
                    scaleScenes[i - 1].objects, scaleScenes[i].objects, (totals[i] - totals[i - 1]) / added,
                    (scaleScenes[i].loadMs - scaleScenes[i - 1].loadMs) / added);
    }
}
