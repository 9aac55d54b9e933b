// "Umlauf als Animation speichern …" in the page: the core replays one
// revolution of the crank (as the window records its GIF) and hands each frame
// here; the frames are painted off screen and recorded as a video by the
// browser's own recorder (WebM), one frame per 30 ms as in the window.

const FRAME_MS = 30;
// The recorder's formats in order of preference: sharp lines need a good codec.
const FORMATS = ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'];

export function videoFormat() {
  if (typeof MediaRecorder === 'undefined' || typeof HTMLCanvasElement === 'undefined' ||
    !HTMLCanvasElement.prototype.captureStream) return null;
  return FORMATS.find((f) => MediaRecorder.isTypeSupported(f)) || null;
}

const sleep = (ms) => new Promise((resolve) => { setTimeout(resolve, ms); });

export class RevolutionRecording {
  // paintFrame(ctx, picture): paints a picture of the run on the recording's
  // canvas of width × height device pixels.
  constructor(width, height, paintFrame) {
    this.format = videoFormat();
    this.canvas = document.createElement('canvas');
    this.canvas.width = width;
    this.canvas.height = height;
    this.ctx = this.canvas.getContext('2d', { alpha: false });
    this.paintFrame = paintFrame;
    this.frames = 0;
    this.chunks = [];
  }

  start() {
    this.stream = this.canvas.captureStream(0);
    this.track = this.stream.getVideoTracks()[0];
    this.recorder = new MediaRecorder(this.stream, { mimeType: this.format, videoBitsPerSecond: 8e6 });
    this.recorder.ondataavailable = (ev) => { if (ev.data.size) this.chunks.push(ev.data); };
    this.stopped = new Promise((resolve) => { this.recorder.onstop = resolve; });
    this.recorder.start();
    this.last = performance.now();
  }

  // One frame: painted, handed to the recorder, held for its 30 ms.
  async frame(picture) {
    this.paintFrame(this.ctx, picture);
    this.track.requestFrame();
    this.frames += 1;
    const wait = this.last + FRAME_MS - performance.now();
    if (wait > 0) await sleep(wait);
    this.last = performance.now();
  }

  // The video, or null when no frame was recorded.
  async finish() {
    await sleep(FRAME_MS);  // the last frame keeps its time too
    this.recorder.stop();
    await this.stopped;
    this.track.stop();
    return this.frames ? new Blob(this.chunks, { type: this.format.split(';')[0] }) : null;
  }
}
