#include "shell/app/System.h"

#include <ctime>
#include <string>

#include "character/Character.h"
#include "character/preload/Preload.h"
#include "character/show/TvPreload.h"
#include "character/show/win32/TvShopping.h"
#include "engine/core/DeleteOwned.h"
#include "engine/core/Random.h"
#include "engine/input/win32/InputManager.h"
#include "engine/resource/ResourceManager.h"
#include "shell/app/AppMessages.h"
#include "shell/app/MascotApp.h"
#include "shell/camera/CameraManager.h"
#include "shell/ending/scene/Ending.h"
#include "shell/indicator/scene/ScreenSaverIndicator.h"
#include "shell/menu/ConfigMenu.h"
#include "shell/render/RenderManager.h"
#include "shell/settings/Setting.h"
#include "shell/sound/SoundManager.h"
#include "shell/world/World.h"

const char* const ModelScope = "::the";

namespace {

// Scan code of Escape.
constexpr uint32_t KEY_ESCAPE = 1;

} // namespace

CSystem::CSystem(HWND mainWindow, CSetting* setting)
    : CConsoleRenderer(mainWindow, setting->GetWidth(), setting->GetHeight(), !setting->IsFullscreen(),
                       setting->IsSoftwareShader()),
      m_console("system"),
      m_mainWindow(mainWindow),
      m_setting(setting),
      m_fades(this) {
    setting->SetSystem(this);
    SetDeviceLostCallback(OnDeviceLostChange);
}

CSystem::~CSystem() {
    if (m_setting)
        m_setting->SetSystem(nullptr);
    DeleteScene();
}

void CSystem::DeleteScene() {
    // The ending's and the menu's nodes hang under the render manager's
    // roots: they go first.
    DeleteOwned(m_ending);
    DeleteOwned(m_menu);
    DeleteOwned(m_indicator);
    m_clothRefresh.Bind(nullptr);
    DeleteOwned(m_character);
    DeleteOwned(m_world);
    DeleteOwned(m_sound);
    m_cameraMode.Bind(nullptr);
    m_focus.Bind(nullptr);
    DeleteOwned(m_render);
}

bool CSystem::SetUp(HWND mainWindow) {
    m_mainWindow = mainWindow;
    SeedRand(unsigned(std::time(nullptr)));
    m_render = new CRenderManager(mainWindow, this, m_setting);
    m_render->FitCameras(m_setting->GetWidth(), m_setting->GetHeight());
    m_cameraMode.Bind(m_render);
    m_focus.Bind(m_render);
    if (ICameraManager* camera = m_render->GetCameraManager())
        camera->SetInput(&m_cameraInput);
    m_sound = new CSoundManager(m_setting);

    // Only the screen-saver run saves nothing; it shows the indicator and
    // never the ending.
    const bool screenSaver = m_setting->IsNoSave();
    CResourceManager* registry = GetResourceManager();
    auto resourceRoot = [this] { m_render->SelectResourceRoot(); };
    LoadWorldModels(*m_render);
    PreloadCharacterModels(registry, resourceRoot);
    PreloadTvModels(registry, resourceRoot);
    LoadConfigMenuModel(*m_render);
    if (screenSaver)
        LoadIndicatorModels(*m_render);
    else
        PreloadEndingModels(*m_render);
    LoadWorldAnimations();
    PreloadCharacterAnimations(registry);
    PreloadTvAnimations(registry);
    if (screenSaver)
        LoadIndicatorAnimations();
    else
        PreloadEndingAnimations();

    m_world = new CWorld("world", *m_render, ModelScope);
    if (!m_world->HasRoom()) {
        ReportMissingResource(); // ends the program during set-up
        return false;
    }
    m_render->SelectMainRoot();
    UseRendererFirstUpdateForCollisions();
    CharacterScene scene;
    scene.mainRoot = m_render->GetMainRoot();
    scene.lightSet = m_render->GetRoomLightSet().GetLightSetHandle();
    scene.sound = m_sound;
    scene.renderer = &m_fades;
    scene.textures = &m_textures;
    scene.setting = m_setting;
    scene.focus = &m_focus;
    m_showHost.Bind(mainWindow, m_render);
    auto* show = new CTvShopping("vesko", m_render, m_setting, ModelScope);
    show->SetHost(&m_showHost);
    m_render->SelectMainRoot();
    std::string missing;
    m_character = CCharacter::Assemble("vesko", ModelScope, scene, show, missing);
    m_render->SelectMainRoot();
    if (!m_character) {
        OutputDebugStringA(("deskmate: not loaded: " + missing + "\n").c_str());
        ReportMissingResource(); // ends the program during set-up
        return false;
    }
    m_clothRefresh.Bind(m_character);
    m_menu = new CConfigMenu("menu", *m_render, *m_setting, ModelScope);
    if (screenSaver)
        m_indicator = new CScreenSaverIndicator("indicators", *m_render, *m_setting, ModelScope);
    m_render->SelectMainRoot();

    // The skies and lights of the start time before the first frame.
    m_world->Update(*m_render, 0.0f);
    if (!m_setting->GetClearMode() && !m_setting->LoadState()) {
        m_setting->SetClearMode(true);
        return false;
    }
    m_setting->SetClearMode(false);
    m_character->AfterLoad();
    InputSettings input = {IK_WIN32, IK_WIN32, {nullptr, nullptr, nullptr}};
    CInputManager::Instance().Create(mainWindow, input);
    m_setUpComplete = true;
    return true;
}

int CSystem::Update(float stepMs) {
    float step = m_startSteps.Next(stepMs);
    CInputManager& input = CInputManager::Instance();
    input.Update();
    bool escape = m_escapePressed;
    m_escapePressed = false;
    if (CKeyboard* keyboard = input.GetKeyboard())
        escape = escape || KeyPressed(keyboard->GetKey(KEY_ESCAPE));
    if (escape)
        return 1;
    PointerZone zone = ZONE_NONE;
    CPointer* pointer = input.GetPointer();
    if (pointer)
        zone = HitTest(pointer->GetAxis(PA_X).value, pointer->GetAxis(PA_Y).value);
    if (!StepScene(pointer, zone, step))
        return 1;
    if (m_render) {
        m_render->DrawMain();
        m_render->DrawIndicators();
    }
    return 0;
}

bool CSystem::StepScene(CPointer* pointer, PointerZone zone, float step) {
    if (m_ending) {
        const int result = m_ending->Run(*m_render, m_sound, m_world, step);
        if (result == ENDING_DRAW_ONLY)
            return true;
        if (result == ENDING_FINISHED)
            DeleteOwned(m_ending);
    } else if (m_menu && m_menu->IsOpen()) {
        if (!m_menu->Update(*m_render, *m_sound, pointer, step))
            return false; // the menu's quit
        // The room and she stand still while the menu is open.
        step = 0.0f;
    }
    if (m_render)
        m_render->Update(step, zone == ZONE_CAMERA);
    if (m_world && m_render)
        m_world->Update(*m_render, step);
    if (m_character && m_world &&
        m_character->Update(m_setting, m_render, m_sound, *m_world, zone == ZONE_TV, step) == 1) {
        DeleteOwned(m_ending);
        m_ending = new CEnding("ending", *m_render, m_render->GetCameraManager(), m_setting, ModelScope);
        m_render->SelectMainRoot();
    }
    if (m_indicator && m_world)
        m_indicator->Update(*m_setting, *m_render, m_world, step);
    return true;
}

void CSystem::TearDown() {
    // Only a set-up that read (or cleared) the saved game may write it back.
    if (m_setUpComplete)
        m_setting->SaveState();
    CInputManager::Instance().Release();
    DeleteScene();
    m_setUpComplete = false;
}

void CSystem::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A fresh press only: bit 30 is set on the repeats of a held key.
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE && !(lParam & (1 << 30)))
        m_escapePressed = true;
}

PointerZone CSystem::HitTest(int x, int y) {
    CPointerScene scene;
    ICameraManager* camera = m_render ? m_render->GetCameraManager() : nullptr;
    scene.cameraLocked = camera && camera->IsLocked();
    scene.menuOpen = m_menu && m_menu->IsOpen();
    scene.insideMenuPanel = scene.menuOpen && m_menu->ContainsPoint(x, y);
    scene.tvPanelHit = !scene.cameraLocked && !scene.menuOpen && m_character && m_character->HitTestTv(m_render, x, y);
    scene.fullscreen = m_setting->IsFullscreen();
    scene.fixed = m_setting->IsFixed();
    scene.width = m_setting->GetWidth();
    scene.height = m_setting->GetHeight();
    return ClassifyPointer(scene, x, y);
}

void CSystem::OpenMenu() {
    if (!m_menu || m_menu->IsOpen() || m_ending || !m_character)
        return;
    m_menu->Open(m_character->GetStats().mny, m_character->GetCollectionRatio());
}

bool CSystem::ApplyWindowMode() {
    SendMessageA(m_mainWindow, WM_MASCOT_MODE_CHANGE, 0, 0);
    if (ChangeMode(m_setting->GetWidth(), m_setting->GetHeight(), !m_setting->IsFullscreen()) != 0)
        return false;
    if (m_render)
        m_render->FitCameras();
    SendMessageA(m_mainWindow, WM_MASCOT_MODE_CHANGE, 1, 0);
    return true;
}

void CSystem::PostTopmost(bool topmost) { PostMessageA(m_mainWindow, WM_MASCOT_TOPMOST, topmost ? 1 : 0, 0); }

ICameraModeSwitch* CSystem::GetCameraModeSwitch() { return m_render ? &m_cameraMode : nullptr; }

IClothRefresh* CSystem::GetClothRefresh() { return m_character ? &m_clothRefresh : nullptr; }

ISoundSwitch* CSystem::GetSoundSwitch() { return m_sound; }

void CSystem::CaptureState(CSavedState& state) {
    state = CSavedState();
    if (m_render)
        m_render->Serialize(state, true);
    else
        SetDefaultCamera(state);
    if (m_character)
        m_character->Serialize(state, true);
}

void CSystem::RestoreState(const CSavedState& state, uint32_t) {
    CSavedState loaded = state;
    // A camera that was not finite is left as it starts.
    if (m_render && loaded.hasCamera)
        m_render->Serialize(loaded, false);
    if (m_character)
        m_character->Serialize(loaded, false);
}
