// The invented words of the stand-in data set, in one place.
#include "texts.h"

#include "layout.h"

namespace datagen {

namespace {

const TitleTexts kTitles = {
    "碧霞霜月譚",
    "～ Amber Snowfall Nocturne.",
    {"Game Start", "Extra Start", "Practice Start", "Replay", "Result", "Music Room", "Option", "Quit"},
    {"Select Difficulty", "Select Player", "Replay", "Result", "Music Room", "Option"},
    {"Easy", "Normal", "Hard", "Lunatic", "Extra"},
    {"雪道の散歩に", "霜夜の冒険に", "吹雪の中へ", "月も凍る夜に", "碧き霞の向こうへ"},
    "Now Loading",
    "雪の降る夜を準備中…",
    "？？？",
    "Stage Clear",
    "霜月の夜明け",
    "SPELL CARD ATTACK",
    "凍結",
    "LAST SPELL",
    {"Route A", "Route B", "Route C", "Route D"},
    {"Bullet", "HiScore", "Score", "Player", "Bomb", "Power", "Graze", "Point"},
    {"P", "P", "点", "B", "1UP", "", "F", "G"},
    "BONUS",
    "HIST.",
    "ENEMY",
    "ED",
};

const CharacterText kCharacters[kCharacterCount] = {
    {"霧島 灯", "灯籠の巫女", "前方集中の御札と、貫く灯火の光線",
     {"灯符「送り火の列」", "灯符「千灯籠の祈り」"}},
    {"白銀 つらら", "氷柱の魔法使い", "広がる氷の礫と、足元を守る六花",
     {"氷符「垂氷の檻」", "氷符「六花繚乱」"}},
    {"朽葉 こずえ", "木枯らしの天狗", "扇状に舞う木の葉と、密集する葉吹雪",
     {"風符「木枯らし一番」", "葉符「錦の吹き溜まり」"}},
    {"鳴神 りん", "雷太鼓の打ち手", "壁で跳ねる雷珠と、下から昇る稲光",
     {"雷符「遠雷の太鼓」", "鼓符「百雷乱打」"}},
    {"望月 かぐら", "月下の舞姫", "高速の月光弾と、曲がって追う光",
     {"月符「望月の舞」", "舞符「十五夜神楽」"}},
};

const char* const kBossNames[kPortraitSets] = {
    "雪ん子 ましろ", "狐火 こん",     "唐傘 あまね",   "氷柱の精 しずく",
    "霜の妖精 ふゆめ", "夜鴉 くろは",   "鴉天狗 はやて", "雪女 さゆき",
    "凍蝶 ゆらぎ",   "霧の番人 かすみ", "氷鬼 つばき",   "月影の巫女 みなせ",
    "霜月の女神 こはく", "碧霞の仙女 るり", "琥珀の月",      "？？？",
};

const char* const kStageLabels[13] = {
    "Stage 1", "Stage 1", "Stage 1", "Stage 1", "Stage 2", "Stage 3", "Stage 4",
    "Stage 4", "Stage 4", "Stage 4", "Stage 5", "Final Stage", "Extra Stage"};

const char* const kStageTitles[10] = {
    "雪明かりの小径", "狐火の灯る杜", "時雨の唐傘横丁", "氷柱の滝",   "霜降る野辺",
    "鴉の渡る夜空",   "凍てつく四つ辻", "月影の社",       "琥珀の月の宮", "碧き霞の果て"};

// Spell cards in id order: the first id of each card, how many ids it spans, its name.
struct SpellCard {
  int firstId, count;
  const char* name;
};
const SpellCard kSpellCards[] = {
    {1, 2, "雪符「ちいさな雪だるま」"},   {3, 4, "雪符「粉雪のワルツ」"},
    {7, 4, "白符「ましろの吹き溜まり」"}, {11, 2, "狐符「迷い火」"},
    {13, 4, "狐符「狐の嫁入り」"},         {17, 4, "火符「鬼火行列」"},
    {21, 2, "傘符「ひとつ目の雨宿り」"},   {23, 4, "雨符「時雨の唐傘」"},
    {27, 4, "傘符「からかさ大回転」"},     {31, 2, "氷符「つらら落とし」"},
    {33, 4, "滴符「しずくの音階」"},       {37, 4, "氷符「凍て滝の飛沫」"},
    {41, 4, "霜符「霜柱の森」"},           {45, 4, "霜符「初霜の朝」"},
    {49, 4, "凍符「白い吐息」"},           {53, 4, "冬符「霜月の野辺送り」"},
    {57, 3, "夜符「鴉の凍て羽根」"},       {60, 1, "時符「凍りつく一瞬」"},
    {61, 4, "風符「天狗の木枯らし」"},     {65, 4, "羽符「黒羽の吹雪」"},
    {69, 4, "疾符「はやての一閃」"},       {73, 4, "嵐符「鴉天狗の大嵐」"},
    {77, 4, "雪符「深雪の帳」"},           {81, 4, "冷符「雪女の微笑み」"},
    {85, 4, "白符「ホワイトアウト」"},     {89, 4, "吹雪「さゆきの子守唄」"},
    {93, 4, "蝶符「凍蝶の羽ばたき」"},     {97, 4, "蝶符「ゆらぎの鱗粉」"},
    {101, 4, "氷符「玻璃の蝶」"},          {105, 4, "夢符「冬の胡蝶の夢」"},
    {109, 4, "霧符「迷い霧の辻」"},        {113, 4, "霞符「霞の番所」"},
    {117, 4, "霧符「朧夜の関所」"},        {121, 4, "幻符「かすみの通せんぼ」"},
    {125, 4, "鬼符「氷鬼ごっこ」"},        {129, 4, "氷符「椿の霜柱」"},
    {133, 4, "鬼符「氷の金棒」"},          {137, 4, "鬼火「寒椿の舞」"},
    {141, 4, "月符「水面の月影」"},        {145, 4, "社符「月影の鳥居」"},
    {149, 4, "巫符「みなせの祓い」"},      {153, 4, "月符「薄月の神楽」"},
    {157, 4, "神符「月読の御簾」"},        {161, 4, "影符「月影の通い路」"},
    {165, 4, "琥珀「封じられた冬」"},      {169, 4, "霜月「凍てる満月」"},
    {173, 4, "琥珀「千年の樹液」"},        {177, 4, "神符「霜月の女神」"},
    {181, 4, "月符「アンバースノウフォール」"}, {185, 4, "「琥珀の月の夜想曲」"},
    {189, 1, "碧符「碧き霞の庭」"},        {190, 1, "仙符「瑠璃色の雲海」"},
    {191, 1, "霞符「仙女の羽衣」"},        {192, 1, "碧符「玉の枝の雪」"},
    {193, 1, "仙術「不老の霜」"},          {194, 1, "霞符「天の川の凍結」"},
    {195, 1, "碧符「瑠璃の宝塔」"},        {196, 1, "仙符「蓬莱の吹雪」"},
    {197, 1, "「碧霞の耐久試験」"},        {198, 1, "「るりの最後の遊戯」"},
    {199, 1, "「碧霞霜月譚」"},
};

// ---- Dialogue pieces ----

// The player's first line before each stage boss: [character][stage group 0-6].
const char* const kOpener[4][7] = {
    {"雪の夜道に灯りは欠かせないわね。", "野原が一面、真っ白だわ。", "夜空に黒い羽根が舞ってる…",
     "四つ辻って、迷いやすいのよね。", "お社の灯りが消えているわ。", "あれが琥珀色の月の正体…？",
     "霞の向こうにも、まだ冬が続いてる。"},
    {"ふふん、雪はわたしの味方よ。", "霜が元気すぎて困るわね。", "鴉がうるさい夜ね。",
     "この辻、さっきも通ったかしら？", "月が近すぎて眩しいわ。", "ついに元凶とご対面ね。",
     "まだ遊び足りない誰かがいるみたい。"},
    {"木枯らしに乗って一っ飛び！", "霜で葉っぱが凍っちゃう。", "同業者の気配がするな。",
     "風向きが変わった。気をつけよう。", "月の光が、やけに冷たい。", "この風、宮の奥から吹いてる！",
     "碧い霞か…面白そうじゃない。"},
    {"雷太鼓の出番だね！", "霜なんて雷で溶かしてやる。", "空の上なら、わたしの庭さ。",
     "どの道を選んでも、叩いて進むだけ。", "神社で太鼓を叩くのは得意だよ。", "琥珀の月、叩き起こしてあげる！",
     "まだ音を聞かせたい相手がいる。"}};
const char* const kReply[4] = {"通してもらうわ。冬はもう長すぎるもの。", "邪魔するなら、凍らせて進むだけよ。",
                               "悪いけど、急いでるんだ。", "問答無用！ 一曲叩かせてもらうよ。"};
const char* const kClosing[4] = {"さあ、先へ急ぎましょう。", "ふう、ちょっとは涼しくなったかしら。",
                                 "よし、風はまだ向こうへ吹いてる。", "いい音だった！ 次へ行こう。"};

// The other speaker's lines: greeting, challenge, defeat, by portrait set.
struct BossLines {
  const char* greet;
  const char* challenge;
  const char* defeat;
};
const BossLines kBossLines[kPortraitSets] = {
    {"わあ、夜のお散歩？ ましろと遊ぼう！", "雪合戦なら負けないよ！", "つ、冷たい… 降参～。"},
    {"こんな夜更けに、人間がひとり？", "狐火に化かされていきなさい。", "あら、尻尾が焦げちゃったわ。"},
    {"おどろけー！ …驚かないの？", "じゃあ雨の弾幕でびしょ濡れにしてあげる！", "傘が…裏返っちゃった…"},
    {"ぽたり、ぽたり。ここは氷柱の滝。", "落ちる雫は、全部弾になるの。", "溶けちゃう… 春みたい…"},
    {"霜が降りるのは、わたしのお仕事。", "この野辺ごと真っ白にしてあげる！", "霜は…朝には消えるものだものね。"},
    {"カア。", "カア、カア！", "カア…"},
    {"取材に来た…わけではなさそうですね。", "この空は鴉天狗の縄張りです。本気でいきますよ！",
     "記事にするには、少々負けすぎましたね。"},
    {"あら、温かそうな人。少し分けてくださる？", "凍えて眠れば、寒さも感じないわ。", "ふふ…体が火照るなんて、久しぶり。"},
    {"凍った羽でも、飛べるのよ。", "ゆらゆら揺れる鱗粉の弾幕、避けられる？", "羽が…溶けてしまう…"},
    {"ここから先は、通行止めです。", "通りたければ、霧を晴らしてみなさい。", "…どうぞ。霧は晴れました。"},
    {"お、遊び相手が来たな！", "氷鬼ごっこだ！ 捕まったら凍るぞ！", "ちぇっ、今日はわたしが鬼の負けか。"},
    {"月の社へようこそ。でも、ここで引き返しなさい。", "月影の神楽、その身で受けなさい！", "あの方を…止められるのは、あなたかもしれない。"},
    {"よくここまで来たわね。冬を終わらせに来たの？", "琥珀に封じた冬は、わたしの宝物。渡さないわ！", "…そう。冬も、いつかは終わるものね。"},
    {"霞の奥まで迷い込むなんて、珍しいお客様。", "仙女の遊戯、最後まで付き合ってもらうわ！", "ふふ、楽しかった。また遊びに来てね。"},
    {"――まだ、終わらない。", "琥珀の月が、最後の冬を呼ぶ。", "……"},
    {"……", "……", "……"},
};

DialogueLine L(int kind, const std::string& text) { return DialogueLine{kind, text}; }

std::vector<Dialogue> BuildDialogues() {
  std::vector<Dialogue> out;
  auto pre = [&](int number, int sheet, int strip, int set, int c, int group, bool opener) {
    Dialogue d{number, sheet, strip, set, {}};
    if (opener) d.lines.push_back(L(0, kOpener[c][group]));
    d.lines.push_back(L(2, kBossLines[set].greet));
    d.lines.push_back(L(0, kReply[c]));
    d.lines.push_back(L(1, kBossLines[set].challenge));
    out.push_back(d);
    return static_cast<int>(d.lines.size());
  };
  auto post = [&](int number, int sheet, int strip, int set, int c) {
    Dialogue d{number, sheet, strip, set, {}};
    d.lines.push_back(L(1, kBossLines[set].defeat));
    d.lines.push_back(L(0, kClosing[c]));
    out.push_back(d);
    return static_cast<int>(d.lines.size());
  };
  // Stage 1: route v, character v only; portrait set v.
  for (int v = 0, s = 0; v < 4; ++v) {
    s += pre(2 * v, 0, s, v, v, 0, true);
    s += post(2 * v + 1, 0, s, v, v);
  }
  // Stage 2 (21 strips): no opener.
  for (int c = 0, s = 0; c < 4; ++c) {
    s += pre(8 + 2 * c, 1, s, 4, c, 1, false);
    s += post(9 + 2 * c, 1, s, 4, c);
  }
  // Stage 3, stage 4 (route c with character c), stage 5.
  const int stageSheets[3] = {2, 3, 4}, firstNumber[3] = {16, 24, 32}, group[3] = {2, 3, 4};
  for (int k = 0; k < 3; ++k)
    for (int c = 0, s = 0; c < 4; ++c) {
      const int set = k == 0 ? 6 : (k == 1 ? 7 + c : 11);
      s += pre(firstNumber[k] + 2 * c, stageSheets[k], s, set, c, group[k], true);
      s += post(firstNumber[k] + 2 * c + 1, stageSheets[k], s, set, c);
    }
  // Final stage: 40 + c before the stage boss, 44 for every character before the last form.
  int s = 0;
  for (int c = 0; c < 4; ++c) s += pre(40 + c, 5, s, 12, c, 5, true);
  {
    Dialogue d{44, 5, s, 14, {}};
    d.lines.push_back(L(2, kBossLines[14].greet));
    d.lines.push_back(L(4, kBossLines[14].challenge));
    d.lines.push_back(L(3, "……来る！"));
    out.push_back(d);
  }
  // Extra stage.
  for (int c = 0, t = 0; c < 4; ++c) {
    t += pre(45 + 2 * c, 6, t, 13, c, 6, true);
    t += post(46 + 2 * c, 6, t, 13, c);
  }
  return out;
}

// Ending lines: each good ending has 14 lines, each other ending 3.
const char* const kEndingShared[7] = {
    "長い霜月の夜が、ようやく明けていく。", "琥珀色の月は、静かに西の空へ沈んでいった。",
    "降り積もった雪が、朝日に碧く光っている。", "里では、久しぶりに子供たちの声が響いた。",
    "封じられていた冬は、少しずつ春へ還っていく。", "――こうして、霜月の夜の物語は幕を閉じた。",
    "Ending No."};
const char* const kEndingOwn[4][7] = {
    {"灯は、消えかけた灯籠にそっと火を入れた。", "「これで、帰り道に迷う人もいないわね」",
     "神社の境内には、雪見の客が集まり始めた。", "こはくも、少し離れて灯りを眺めている。",
     "「来年の冬は、もう少し短くしてね」", "「…考えておくわ」", "灯籠の火は、朝まで揺れていた。"},
    {"つららは、屋根の上で大きく伸びをした。", "「暑い…じゃなくて、ちょうどいい寒さね」",
     "溶けた氷柱から、きらきらと雫が落ちる。", "雪ん子たちが、つららの周りで跳ねている。",
     "「また冬が来たら、遊んであげるわ」", "「約束だよ！」", "今日の氷は、少しだけ甘い味がした。"},
    {"こずえは、山の頂で風の匂いを嗅いだ。", "「うん、もう冬の匂いは薄くなった」",
     "木々の枝先には、小さな芽が膨らんでいる。", "はやてが、新聞の号外を配って回っている。",
     "「その記事、わたしが主役でしょうね？」", "「さて、どうでしょう」", "風は、もう南から吹き始めていた。"},
    {"りんは、社の前で太鼓を打ち鳴らした。", "「春よ来い！ …なんてね」", "音は雪原を渡り、遠くの山にこだました。",
     "こはくが、耳を押さえながら笑っている。", "「うるさい神様もいたものね」", "「神様じゃなくて、太鼓叩きだよ」",
     "その日、里の雪は一日で半分溶けた。"}};
const char* const kEndingBad[4][3] = {
    {"夜は明けた。けれど、灯の心は晴れない。", "琥珀の月は、まだ空のどこかに隠れている。",
     "「次は…一度で決めてみせるわ」"},
    {"冬は終わった。ような気がする。", "でも、つららの手はまだ少し冷たいままだ。", "「まだ本気を出してなかっただけよ」"},
    {"風は止んだ。けれど何かが足りない。", "こずえは、もう一度宮を見上げた。", "「やり直しだ。次はもっと速く」"},
    {"太鼓の音は、途中で途切れてしまった。", "月の宮は、雪の中に静まり返っている。", "「もう一回！ 今度は最後まで叩くよ」"}};

std::vector<std::string> BuildEndingLines() {
  std::vector<std::string> lines;
  for (int c = 0; c < 4; ++c) {
    const char* const* own = kEndingOwn[c];
    const std::string good[14] = {kEndingShared[0], kEndingShared[1], own[0],          own[1],
                                  kEndingShared[2], own[2],          own[3],          kEndingShared[3],
                                  own[4],           own[5],          kEndingShared[4], own[6],
                                  kEndingShared[5], std::string(kEndingShared[6]) + std::to_string(1 + 2 * c)};
    lines.insert(lines.end(), good, good + 14);
    for (int k = 0; k < 2; ++k) lines.push_back(kEndingBad[c][k]);
    lines.push_back(std::string(kEndingBad[c][2]) + "  Ending No." + std::to_string(2 + 2 * c));
  }
  lines.resize(84);
  return lines;
}

std::vector<std::string> BuildStaffRoll() {
  return {"#碧霞霜月譚",
          "～ Amber Snowfall Nocturne.",
          "",
          "#Program",
          "霜月亭 こおり",
          "",
          "#Graphics",
          "霜月亭 こおり",
          "雪見堂 ゆきみ",
          "",
          "#Music",
          "琥珀楽団",
          "",
          "#Scenario",
          "雪見堂 ゆきみ",
          "",
          "#Library",
          "Tesra 2.23",
          "",
          "#Test Play",
          "霜月亭のみなさん",
          "冬眠中のくまさん",
          "",
          "#Special Thanks",
          "雪の降る夜に遊んでくれた",
          "すべての人へ",
          "",
          "",
          "#and You!",
          "",
          "",
          "遊んでくれてありがとう"};
}

}  // namespace

const TitleTexts& Titles() { return kTitles; }

const CharacterText& Character(int c) {
  return kCharacters[(c >= 0 && c < kCharacterCount) ? c : 0];
}

const char* BossName(int set) { return (set >= 0 && set < kPortraitSets) ? kBossNames[set] : ""; }

const char* StageLabel(int row) { return (row >= 0 && row < 13) ? kStageLabels[row] : ""; }

const char* StageTitle(int column) { return (column >= 0 && column < 10) ? kStageTitles[column] : ""; }

std::string SpellName(int id) {
  for (const SpellCard& c : kSpellCards)
    if (id >= c.firstId && id < c.firstId + c.count) return c.name;
  return "";
}

const std::vector<Dialogue>& Dialogues() {
  static const std::vector<Dialogue> d = BuildDialogues();
  return d;
}

const std::vector<std::string>& EndingLines() {
  static const std::vector<std::string> l = BuildEndingLines();
  return l;
}

const std::vector<std::string>& StaffRoll() {
  static const std::vector<std::string> s = BuildStaffRoll();
  return s;
}

}  // namespace datagen
