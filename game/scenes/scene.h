// The scene dispatchers, the white fade and the start-of-stage reset.
#pragma once

struct GameState;
struct SceneCalls;

// What the scenes do when the play field changes the scene (the start-up
// hands it to GameState::sceneCalls).
const SceneCalls& TheSceneCalls();

// Runs the scene's update, then advances frameCount (except in frames where
// only live play waits: the pause menu and the stage-result tally's wait for
// a press, so that a replay counts the same frames as its recording).
void UpdateScene(GameState& state);
// Runs the scene's draws, then the white fade.
void DrawScene(GameState& state);
// Prepares stage stageNumber for play.
void ResetStage(GameState& state);
