#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "fixtures/ArvoreBlocoM.h"

namespace {

using arvore_teste::Chave;
using arvore_teste::MontarArvoreCompleta;
using arvore_teste::TOpcoesArvore;

TEST(Totalizar, AjusteComDetalhesValeASomaDosDetalhes) {
  struct Caso {
    const char* nome;
    bool destinoExiste;
    double destinoGravado;
    double origemGravado;
    std::vector<double> origemDetalhes;
    double esperadoGravado, esperadoLido;
  };
  const std::vector<Caso> casos = {
      {"destino vazio, origem com detalhe", false, 0, 100, {7}, 7, 7},
      {"destino vazio, origem sem detalhe", false, 0, 100, {}, 100, 100},
      // O gravado soma os dois lidos, mas com detalhes o lido é a soma dos detalhes.
      {"destino sem detalhe", true, 50, 100, {7}, 57, 7},
      {"destino e origem sem detalhes", true, 50, 100, {}, 150, 150},
  };
  for (const auto& c : casos) {
    TM110_510_220_620AjusteCredImpList destino, origem;
    auto& o = origem.Add(Chave(1), std::make_unique<TM110_510_220_620AjusteCredImp>());
    o.FIND_AJ = "1";
    o.FCOD_AJ = "06";
    o.FNUM_DOC = "N1";
    o.FDESCR_AJ = "D";
    o.FDT_REF = "31012024";
    o.FAjusteSCP = true;
    o.FCOD_CTA = "nao copiado";
    o.FVL_AJ = c.origemGravado;
    for (size_t i = 0; i < c.origemDetalhes.size(); ++i)
      o.FM115_515_225_625List.Add(Chave(static_cast<int>(i)),
                                  std::make_unique<TM115_515_225_625AjusteCredDet>())
          .DET_VALOR_AJ = c.origemDetalhes[i];
    if (c.destinoExiste)
      destino.Add(Chave(1), std::make_unique<TM110_510_220_620AjusteCredImp>()).FVL_AJ =
          c.destinoGravado;
    destino.Totalizar(origem);
    const auto& d = destino.Items(Chave(1));
    EXPECT_DOUBLE_EQ(d.FVL_AJ, c.esperadoGravado) << c.nome;
    EXPECT_DOUBLE_EQ(d.GetVL_AJ(), c.esperadoLido) << c.nome;
    if (!c.destinoExiste) {
      EXPECT_EQ(d.FIND_AJ, "1") << c.nome;
      EXPECT_EQ(d.FCOD_AJ, "06") << c.nome;
      EXPECT_EQ(d.FNUM_DOC, "N1") << c.nome;
      EXPECT_EQ(d.FDT_REF, "31012024") << c.nome;
      EXPECT_TRUE(d.FAjusteSCP) << c.nome;
      EXPECT_EQ(d.FCOD_CTA, "") << c.nome;
    }
  }
}

// ---- M001 de dois tipos de apuração somados ----

// Soma de um valor lido dos registros de mesma chave nas duas árvores (0 onde falta).
template <class T>
double Soma(const T* a, const T* b, const std::function<double(const T&)>& ler) {
  return (a ? ler(*a) : 0) + (b ? ler(*b) : 0);
}

// Para cada chave do total, confere que ela existe em a ou b, que a contagem é a da união e
// chama o conferente com os três registros.
template <class TLista, class TConf>
void ConferirLista(const TLista& total, const TLista& a, const TLista& b, const std::string& ctx,
                   TConf conferir) {
  std::set<std::string> uniao;
  for (const auto& [k, r] : a) uniao.insert(k);
  for (const auto& [k, r] : b) uniao.insert(k);
  ASSERT_EQ(static_cast<size_t>(total.Count()), uniao.size()) << ctx;
  for (const auto& k : uniao) {
    const auto* t = total.TryGetValue(k);
    ASSERT_NE(t, nullptr) << ctx << " chave " << k;
    conferir(*t, a.TryGetValue(k), b.TryGetValue(k), ctx + "/" + k);
  }
}

template <class TLista>
const TLista& ListaVazia() {
  static const TLista vazia;
  return vazia;
}

#define CONFERE(campo)                                                                  \
  EXPECT_NEAR(t.campo, Soma<R>(a, b, [](const R& r) { return static_cast<double>(r.campo); }), \
              1e-6)                                                                     \
      << ctx << " " #campo

void ConferirAjustes(const TM110_510_220_620AjusteCredImpList& total,
                     const TM110_510_220_620AjusteCredImpList& la,
                     const TM110_510_220_620AjusteCredImpList& lb, const std::string& ctx0) {
  ConferirLista(total, la, lb, ctx0, [](const auto& t, const auto* a, const auto* b, auto ctx) {
    using R = TM110_510_220_620AjusteCredImp;
    CONFERE(GetVL_AJ());
    using D = TM115_515_225_625AjusteCredDet;
    const auto& va = ListaVazia<TM115_515_225_625AjusteCredDetList>();
    ConferirLista(t.FM115_515_225_625List, a ? a->FM115_515_225_625List : va,
                  b ? b->FM115_515_225_625List : va, ctx,
                  [](const D& t, const D* a, const D* b, auto ctx) {
                    using R = D;
                    CONFERE(DET_VALOR_AJ);
                    CONFERE(DET_BC_CRED);
                  });
  });
}

void ConferirCreditos(const TM100_500CreditoImpostoList& total, const TM100_500CreditoImpostoList& la,
                      const TM100_500CreditoImpostoList& lb, const std::string& ctx0) {
  ConferirLista(total, la, lb, ctx0, [](const auto& t, const auto* a, const auto* b, auto ctx) {
    using R = TM100_500CreditoImposto;
    CONFERE(GetVL_BC());
    CONFERE(GetQUANT_BC());
    CONFERE(GetVL_CRED());
    CONFERE(GetVL_AJUS_ACRES());
    CONFERE(GetVL_AJUS_REDUC());
    CONFERE(FVL_CRED_DIF);
    CONFERE(FVL_CRED_DESC);
    CONFERE(GetVL_CRED_DISP());
    CONFERE(GetSLD_CRED());
    const auto& v105 = ListaVazia<TM105_505DetalheBCCreditoList>();
    ConferirLista(t.FM105_505List, a ? a->FM105_505List : v105, b ? b->FM105_505List : v105, ctx,
                  [](const auto& t, const auto* a, const auto* b, auto ctx) {
                    using R = TM105_505DetalheBCCredito;
                    CONFERE(FVL_BC_TOT);
                    CONFERE(FVL_BC_CUM);
                    CONFERE(GetVL_BC_NC());
                    CONFERE(GetVL_BC());
                    CONFERE(FQUANT_BC_TOT);
                    CONFERE(FQUANT_BC);
                  });
    const auto& v110 = ListaVazia<TM110_510_220_620AjusteCredImpList>();
    ConferirAjustes(t.FM110_510List, a ? a->FM110_510List : v110, b ? b->FM110_510List : v110, ctx);
  });
}

void ConferirContribuicao(const TM200_600ConsolidContribImposto& t,
                          const TM200_600ConsolidContribImposto* a,
                          const TM200_600ConsolidContribImposto* b, const std::string& ctx) {
  {
    using R = TM200_600ConsolidContribImposto;
    CONFERE(FVL_TOT_CRED_DESC_ANT);
    CONFERE(FVL_RET_NC);
    CONFERE(FVL_OUT_DED_NC);
    CONFERE(FVL_RET_CUM);
    CONFERE(FVL_OUT_DED_CUM);
    CONFERE(FVL_DIFERIDO_CUM);
    CONFERE(FVL_DIFERIR_CUM);
    CONFERE(GetVL_TOT_CONT_NC_PER());
    CONFERE(GetVL_TOT_CRED_DESC());
    CONFERE(GetVL_TOT_CONT_NC_DEV());
    CONFERE(GetVL_CONT_NC_REC());
    CONFERE(GetVL_TOT_CONT_CUM_PER());
    CONFERE(GetVL_CONT_CUM_REC());
    CONFERE(GetVL_TOT_CONT_REC());
    CONFERE(GetRecNaoCompCred());
    CONFERE(GetRecNaoCompRet());
  }
  ConferirLista(t.FM205_605List, a->FM205_605List, b->FM205_605List, ctx + "/M205",
                [](const auto& t, const auto* a, const auto* b, auto ctx) {
                  using R = TM205_605ContribRecolher;
                  CONFERE(VL_DEBITO);
                });
  ConferirLista(
      t.FM210_610List, a->FM210_610List, b->FM210_610List, ctx + "/M210",
      [](const auto& t, const auto* a, const auto* b, auto ctx) {
        using R = TM210_610DetalheContrib;
        CONFERE(FVL_REC_BRT);
        CONFERE(GetVL_BC_CONT());
        CONFERE(FQUANT_BC);
        CONFERE(FVlBctNCompCred);
        CONFERE(FVlBctNCompRet);
        CONFERE(GetVL_AJUS_ACRES_BC_PIS());
        CONFERE(GetVL_AJUS_REDUC_BC_PIS());
        CONFERE(GetVL_BC_CONT_AJUS());
        CONFERE(GetVL_CONT_APUR());
        CONFERE(GetVL_AJUS_ACRES());
        CONFERE(GetVL_AJUS_REDUC());
        CONFERE(GetVL_CONT_DIFER());
        CONFERE(GetVL_CONT_DIFER_ANT());
        CONFERE(GetVL_CONT_PER());
        // Só uma das árvores tem M211 nesta chave: o total tem uma cópia dele.
        const auto* coop = (a && a->FM211_611) ? a->FM211_611.get()
                           : (b && b->FM211_611) ? b->FM211_611.get() : nullptr;
        ASSERT_EQ(t.FM211_611 != nullptr, coop != nullptr) << ctx;
        if (coop) {
          EXPECT_NE(t.FM211_611.get(), coop) << ctx;
          EXPECT_EQ(t.FM211_611->FM210_610, &t) << ctx;
          EXPECT_EQ(t.FM211_611->FIND_TIP_COOP, coop->FIND_TIP_COOP) << ctx;
          EXPECT_DOUBLE_EQ(t.FM211_611->GetVL_BC_CONT(), coop->GetVL_BC_CONT()) << ctx;
        }
        const auto& v215 = ListaVazia<TM215_615AjusteBCContribPISList>();
        ConferirLista(t.FM215_615List, a ? a->FM215_615List : v215, b ? b->FM215_615List : v215,
                      ctx, [](const auto& t, const auto* a, const auto* b, auto ctx) {
                        using R = TM215_615AjusteBCContribPIS;
                        CONFERE(FVL_AJ_BC);
                      });
        const auto& v220 = ListaVazia<TM110_510_220_620AjusteCredImpList>();
        ConferirAjustes(t.FM220_620List, a ? a->FM220_620List : v220, b ? b->FM220_620List : v220,
                        ctx);
        const auto& v230 = ListaVazia<TM230_630InfAdicDiferidoList>();
        ConferirLista(t.FM230_630List, a ? a->FM230_630List : v230, b ? b->FM230_630List : v230,
                      ctx, [](const auto& t, const auto* a, const auto* b, auto ctx) {
                        using R = TM230_630InfAdicDiferido;
                        CONFERE(FVL_VEND);
                        CONFERE(FVL_NAO_RECEB);
                        CONFERE(FVL_CONT_DIF);
                        CONFERE(FVL_CRED_DIF);
                      });
        const auto& v300 = ListaVazia<TM300_700DiferidoPerAntList>();
        ConferirLista(t.FM300_700List, a ? a->FM300_700List : v300, b ? b->FM300_700List : v300,
                      ctx, [](const auto& t, const auto* a, const auto* b, auto ctx) {
                        using R = TM300_700DiferidoPerAnt;
                        CONFERE(FVL_CONT_APUR_DIFER);
                        CONFERE(FVL_CRED_DESC_DIFER);
                        CONFERE(GetVL_CONT_DIFER_ANT());
                      });
      });
}

void ConferirReceitas(const TM400_800ReceitaIsentaList& total, const TM400_800ReceitaIsentaList& la,
                      const TM400_800ReceitaIsentaList& lb, const std::string& ctx0) {
  ConferirLista(total, la, lb, ctx0, [](const auto& t, const auto* a, const auto* b, auto ctx) {
    using R = TM400_800ReceitaIsenta;
    CONFERE(GetVL_TOT_REC());
    const auto& v410 = ListaVazia<TM410_810DetalRecIsentaList>();
    ConferirLista(t.FM410_810List, a ? a->FM410_810List : v410, b ? b->FM410_810List : v410, ctx,
                  [](const auto& t, const auto* a, const auto* b, auto ctx) {
                    using R = TM410_810DetalRecIsenta;
                    CONFERE(VL_REC);
                  });
  });
}

TEST(Totalizar, M001DeDoisTiposEhASomaRegistroARegistro) {
  // Tipo 0: chaves 00001 e 00002 das listas de cima, com M211; tipo 62: chaves 00002 e 00009,
  // valores triplicados, sem M211. Cada um com o seu M350.
  TMapaAberturaBloco mapa;
  mapa[TTipoApuracao::taNormal] = MontarArvoreCompleta({1.0, true, false, true, true});
  mapa[TTipoApuracao::ta62] = MontarArvoreCompleta({3.0, false, true, false, true});
  const auto& a = *mapa[TTipoApuracao::taNormal];
  const auto& b = *mapa[TTipoApuracao::ta62];

  TM001AberturaBloco total;
  for (const auto& [tipo, m001] : mapa) total.Totalizar(*m001);

  ConferirCreditos(total.FM100List, a.FM100List, b.FM100List, "M100");
  ConferirCreditos(total.FM500List, a.FM500List, b.FM500List, "M500");
  ConferirContribuicao(*total.FM200, a.FM200.get(), b.FM200.get(), "M200");
  ConferirContribuicao(*total.FM600, a.FM600.get(), b.FM600.get(), "M600");
  ConferirReceitas(total.FM400List, a.FM400List, b.FM400List, "M400");
  ConferirReceitas(total.FM800List, a.FM800List, b.FM800List, "M800");
  // O M350 não soma: fica o do último M001 que tinha um.
  ASSERT_NE(total.FM350, nullptr);
  EXPECT_NE(total.FM350.get(), b.FM350.get());
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_FOL, b.FM350->VL_TOT_FOL);
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_CONT_FOL, b.FM350->VL_TOT_CONT_FOL);
  EXPECT_DOUBLE_EQ(total.FM350->ALIQ_PIS_FOL, b.FM350->ALIQ_PIS_FOL);
  // As duas árvores continuam intactas; o total tem registros seus, com código e alíquota.
  EXPECT_EQ(a.FM100List.Count(), 2);
  EXPECT_EQ(b.FM100List.Count(), 2);
  for (const auto& [k, t] : total.FM100List) {
    const auto* origem = a.FM100List.TryGetValue(k) ? a.FM100List.TryGetValue(k) : b.FM100List.TryGetValue(k);
    EXPECT_NE(t.get(), origem) << k;
    EXPECT_EQ(t->FCOD_CRED, origem->FCOD_CRED) << k;
    EXPECT_EQ(t->FALIQ, origem->FALIQ) << k;
  }
}

TEST(Totalizar, M211EM350DaOrigemSubstituem) {
  TM210_610DetalheContribList destino, origem;
  auto& d = destino.Add(Chave(1), std::make_unique<TM210_610DetalheContrib>());
  auto& dc = d.CriarM211_611();
  dc.FIND_TIP_COOP = 2;
  dc.FVL_BC_CONT_ANT_EXC_COOP = 500;
  auto& o = origem.Add(Chave(1), std::make_unique<TM210_610DetalheContrib>());
  auto& oc = o.CriarM211_611();
  oc.FIND_TIP_COOP = 1;
  oc.FVL_BC_CONT_ANT_EXC_COOP = 1000;
  oc.FVL_EXC_COOP_GER = 100;
  destino.Totalizar(origem);
  ASSERT_NE(d.FM211_611, nullptr);
  EXPECT_EQ(d.FM211_611->FM210_610, &d);
  EXPECT_EQ(d.FM211_611->FIND_TIP_COOP, 1);
  EXPECT_DOUBLE_EQ(d.FM211_611->GetVL_BC_CONT(), 900);
  // A base gravada recebeu a soma das bases lidas antes da troca: 500 + 900.
  EXPECT_DOUBLE_EQ(d.FVL_BC_CONT, 1400);

  TM211_611CoopComposBC soma(nullptr);
  soma.FVL_EXC_ESP_COOP = 1;
  soma.Totalizar(oc);
  soma.Totalizar(oc);
  EXPECT_EQ(soma.FIND_TIP_COOP, 1);
  EXPECT_DOUBLE_EQ(soma.FVL_BC_CONT_ANT_EXC_COOP, 2000);
  EXPECT_DOUBLE_EQ(soma.FVL_EXC_ESP_COOP, 1);

  TM001AberturaBloco total, sem350, com350;
  com350.FM350 = std::make_unique<TM350FolhaSalarioPIS>();
  com350.FM350->VL_TOT_FOL = 10;
  total.Totalizar(com350);
  total.Totalizar(com350);
  ASSERT_NE(total.FM350, nullptr);
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_FOL, 10);  // copiado, não somado
  total.Totalizar(sem350);
  ASSERT_NE(total.FM350, nullptr);  // origem sem M350 não apaga o do destino
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_FOL, 10);
}

}  // namespace
