// Generated test scenes, made here so that tests, benchmarks and the demo
// need no outside pictures: colour bars, a grey ramp, a resolution wedge
// (zone plate) and a chart of skin, foliage and sky tones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class Scene { ColourBars, GreyRamp, ResolutionWedge, ToneChart };

constexpr Scene kAllScenes[] = {Scene::ColourBars, Scene::GreyRamp, Scene::ResolutionWedge,
                                Scene::ToneChart};

const char* SceneName(Scene scene);  // "bars", "ramp", "wedge", "chart"
bool SceneFromName(const std::string& name, Scene& scene);

// The picture: width x height pixels of red, green, blue; top row first.
std::vector<std::uint8_t> RenderSceneRgb(Scene scene, int width, int height);

// The camera's raw frame of the picture: one byte per pixel, the file's first
// row is the bottom of the picture, red at row 0 column 0 of the file
// (even rows red, green, ...; odd rows green, blue, ...).
std::vector<std::uint8_t> MosaicFromRgb(const std::vector<std::uint8_t>& rgb, int width, int height);
std::vector<std::uint8_t> RenderSceneRaw(Scene scene, int width, int height);
