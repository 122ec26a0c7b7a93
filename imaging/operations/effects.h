// The pages of the effects dialog as plain functions on 24-bit pictures.
// Each changes the picture in place, leaves 1-bit and empty pictures alone,
// clamps every channel to 0..255 and is the identity at its neutral
// settings (given in brackets). The HSL, RGB, user filter and rotate pages
// use AdjustHsl, AddToChannels, Convolve3x3, FlipPicture and RotatePicture.
#pragma once

#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Contrast -100..100 around mid-grey (0: none; 100 stretches five times,
// -100 flattens to grey) and brightness -100..100 in percent of full scale
// (0).
void EffectContrast(TPictureBitmap& picture, int contrast, int brightness, TProgress& progress);

// Hue turn in degrees -180..180 (0), saturation and value changes in
// percent points -100..100 (0), in the hue-saturation-value model.
void EffectHsv(TPictureBitmap& picture, int hue, int saturation, int value, TProgress& progress);

// Levels: channel values in the threshold range low..high (0..255) are
// spread linearly over the equalization range out_low..out_high (0..255);
// values below or above the threshold range take the range's ends. A
// threshold range of one value is a plain threshold.
void EffectLevels(TPictureBitmap& picture, int low, int high, int out_low, int out_high, TProgress& progress);

// Bump map: the grey relief lit from the azimuth 0..359 degrees, added to
// each channel with depth 0..100 (0).
void EffectBumpMap(TPictureBitmap& picture, int depth, int azimuth, TProgress& progress);

// Lens over the circle in the picture's centre with the diameter of its
// shorter side: strength -100..100 (0) magnifies (positive) or shrinks the
// middle. Nearest pixels.
void EffectLens(TPictureBitmap& picture, int strength, TProgress& progress);

// Wave: rows and columns shifted by amplitude 0..50 pixels (0) times the
// sine of the position over wavelength 2..200 pixels. Nearest pixels,
// edges repeated.
void EffectWave(TPictureBitmap& picture, int amplitude, int wavelength, TProgress& progress);

// Morphology over a (2 radius + 1) square, radius 0..10 (0), per channel:
// mode 0 dilate (maximum), 1 erode (minimum), 2 open (erode, dilate),
// 3 close (dilate, erode).
void EffectMorph(TPictureBitmap& picture, int mode, int radius, TProgress& progress);

// Frequency filter through a two-dimensional fast Fourier transform of
// each channel: mode 0 low pass, 1 high pass (the mean kept), cutoff 0..100
// in percent of the highest frequency (low pass 100 and high pass 0: none).
void EffectFft(TPictureBitmap& picture, int mode, int cutoff, TProgress& progress);

// Gamma in hundredths 10..500 (100): value = 255 (v / 255)^(100 / gamma).
void EffectGamma(TPictureBitmap& picture, int gamma_percent, TProgress& progress);

// Unsharp masking: amplitude 0..100 (0) times the difference to the mean of
// a window of size 3..15 pixels (odd sizes; even ones count as the next odd).
void EffectSharpen(TPictureBitmap& picture, int amplitude, int window, TProgress& progress);

}  // namespace vistrel
