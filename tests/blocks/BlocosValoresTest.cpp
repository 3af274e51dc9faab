// Vetores de valores: forma pela regra de inclusão, posições próprias de F130/F150/F600, e
// casamento com os nomes de parâmetro de cada texto (o valor certo para cada nome).
#include <gtest/gtest.h>

#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "host/SQLParams.h"

namespace {

using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

const TDateTime kInicio = EncodeDate(2024, 3, 1);
const TDateTime kFim = EncodeDate(2024, 3, 31);

TVariant I(int64_t n) { return TVariant{n}; }
TVariant D(TDateTime d) { return VarDate(d); }

class BlocosValores : public ::testing::Test {
 protected:
  void SetUp() override { FHost.CriarEsquema(false); }
  THostTexto FHost;
};

// Os valores nulos têm a forma dos reais (três ou quatro pela inclusão) e não casam com nada;
// a hora da data não vai ao banco. Os reais, nome a nome, estão no caso seguinte.
TEST_F(BlocosValores, NulosComAFormaDosReaisEDatasSemHora) {
  for (const char* estab : {"12", "", "1,3"}) {
    SCOPED_TRACE(std::string("[") + estab + "]");
    const TnParansBlocoA a{7, estab, kInicio, kFim, false, 0, false};
    const TParams nulos = RA::GetParamsEstabDataNull(a);
    ASSERT_EQ(nulos.size(), RA::GetParamsEstabData(a).size());
    EXPECT_EQ(nulos.front(), I(-1));
    EXPECT_EQ(nulos[nulos.size() - 1], D(0));
    EXPECT_EQ(nulos[nulos.size() - 2], D(0));
    if (nulos.size() == 4) {
      EXPECT_EQ(nulos[1], I(-1));
    }
  }
  const TnParansBlocoA comHora{7, "12", kInicio + 0.75, kFim + 0.5, false, 0, false};
  EXPECT_EQ(RA::GetParamsEstabData(comHora), (TParams{I(7), I(12), D(kInicio), D(kFim)}));
}

// A moldura serve os registros dos outros blocos: sem estabelecimento (C, D), nulo com um -1 a
// mais (C) e estabelecimento numérico (I).
TEST_F(BlocosValores, MolduraParaOsRegistrosDosOutrosBlocos) {
  using B = TnArqRepositorioSPEDPisCofinsBase;
  const TnParansBlocoD d{7, "12", kInicio, kFim, false, false};
  EXPECT_EQ(B::GetParamsEmpData(d), (TParams{I(7), D(kInicio), D(kFim)}));
  const TnParansBlocoC c{7, "5", kInicio, kFim, false, 1, 0, false};
  EXPECT_EQ(B::GetParamsEstabDataImpNull(c), (TParams{I(-1), I(-1), D(0), D(0), I(-1)}));
  const nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC cm{7, "", kInicio, kFim, false, 1, 0};
  EXPECT_EQ(B::GetParamsEstabDataImpNull(cm), (TParams{I(-1), D(0), D(0), I(-1)}));
  EXPECT_EQ(B::GetParamsEstabData(TnParansBlocoI{7, 5, kInicio, kFim, true, true}),
            (TParams{I(7), I(5), D(kInicio), D(kFim)}));
  EXPECT_EQ(B::GetParamsEstabData(TnParansBlocoI{7, 0, kInicio, kFim, true, true}),
            (TParams{I(7), D(kInicio), D(kFim)}));
  EXPECT_EQ(B::GetParamsEstabData(TnParansBloco1{7, "3", kInicio, kFim}), (TParams{I(7), I(3), D(kInicio), D(kFim)}));
}

// Papel de cada nome de parâmetro pelo nome; o valor na mesma posição tem de ser o dele.
enum class TPapel { Empresa, Estab, Inicio, Fim, Desconhecido };
TPapel Papel(const std::string& ANome) {
  if (ANome.find("EMPRESA") != std::string::npos) return TPapel::Empresa;
  if (ANome.find("ESTAB") != std::string::npos) return TPapel::Estab;
  if (ANome.find("INICIAL") != std::string::npos) return TPapel::Inicio;
  if (ANome.find("FINAL") != std::string::npos) return TPapel::Fim;
  return TPapel::Desconhecido;
}

void ConferirCaso(const TCasoBloco& c, int64_t AEmpresa, int64_t AEstab, TDateTime AInicio, TDateTime AFim) {
  SCOPED_TRACE(c.Nome);
  const TSQLAnalisado a = AnalisarParametros(c.SQL);
  ASSERT_EQ(a.Nomes.size(), c.ValoresReais.size());
  for (size_t i = 0; i < a.Nomes.size(); ++i) {
    SCOPED_TRACE(a.Nomes[i]);
    const TVariant& v = c.ValoresReais[i];
    switch (Papel(a.Nomes[i])) {
      case TPapel::Empresa: EXPECT_EQ(v, I(AEmpresa)); break;
      case TPapel::Estab: EXPECT_EQ(v, I(AEstab)); break;
      case TPapel::Inicio:
        // O F150 lê desde onze meses antes do início.
        EXPECT_EQ(v, D(c.Nome == "F150" ? IncMonth(AInicio, -11) : AInicio));
        break;
      case TPapel::Fim: EXPECT_EQ(v, D(AFim)); break;
      case TPapel::Desconhecido: ADD_FAILURE() << "nome de parâmetro inesperado"; break;
    }
  }
  EXPECT_EQ(c.Valores.size(), c.ValoresReais.size());
}

TEST_F(BlocosValores, CadaNomeDeParametroRecebeSeuValor) {
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  for (const char* estab : {"12", " 12 ", "", "0", "1,3-5"}) {
    for (int mov : {0, 1, 2}) {
      for (bool scp : {false, true}) {
        SCOPED_TRACE(std::string("estab [") + estab + "] movimento " + std::to_string(mov) + (scp ? " SCP" : ""));
        const int64_t codEstab = RF::EhEstabInclusion(estab) ? -999 : 12;
        const TnParansBlocoA a{7, estab, kInicio, kFim, false, mov, scp};
        for (const auto& c : CasosBlocoA(a)) ConferirCaso(c, 7, codEstab, kInicio, kFim);
        const TnParansBlocoF f{7, estab, kInicio, kFim, false, static_cast<int16_t>(mov), scp};
        for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)})
          for (const auto& c : CasosBlocoF(f, *repo)) ConferirCaso(c, 7, codEstab, kInicio, kFim);
      }
    }
  }
}

}  // namespace
